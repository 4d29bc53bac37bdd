#include "appearance/LanguageU.h"
#include "app/GlobalUnit.h"

#include "LanguageFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>
#include <ostream>

// Readable failure messages for Qt texts.
void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace {

// A window with one named component of each kind the language files know,
// with its English texts set as a real window sets them.
class TfrmSample : public QWidget {
public:
    TfrmSample()
    {
        setObjectName("frmSample");
        setWindowTitle("Sample");
        auto *layout = new QVBoxLayout(this);
        lblName = Add<QLabel>("lblName", "Name:");
        lblEmpty = Add<QLabel>("lblEmpty", "");
        btnOk = Add<QPushButton>("btnOk", "&OK");
        chkMute = Add<QCheckBox>("chkMute", "Mute");
        edtHost = Add<QLineEdit>("edtHost", "localhost");
        edtEmpty = Add<QLineEdit>("edtEmpty", "");

        cbbMode = new QComboBox(this);
        cbbMode->setObjectName("cbbMode");
        cbbMode->addItems({"Fast", "Slow", "Off"});
        layout->addWidget(cbbMode);

        lstItems = new QListWidget(this);
        lstItems->setObjectName("lstItems");
        lstItems->addItems({"first", "second"});
        layout->addWidget(lstItems);

        lvHotkeys = new QTreeWidget(this);
        lvHotkeys->setObjectName("lvHotkeys");
        lvHotkeys->setHeaderLabels({"Action", "Hotkey"});
        lvHotkeys->addTopLevelItem(new QTreeWidgetItem(QStringList{"Play/Pause", "Ctrl + Alt + P"}));
        layout->addWidget(lvHotkeys);

        tblTasks = new QTableWidget(1, 2, this); // no header items: Qt numbers the columns
        tblTasks->setObjectName("tblTasks");
        layout->addWidget(tblTasks);

        rgTurn = new QGroupBox("Direction", this);
        rgTurn->setObjectName("rgTurn");
        auto *groupLayout = new QVBoxLayout(rgTurn);
        for (const char *text : {"&Up", "&Down"})
            groupLayout->addWidget(new QRadioButton(text, rgTurn));
        layout->addWidget(rgTurn);

        pgcOptions = new QTabWidget(this);
        pgcOptions->setObjectName("pgcOptions");
        tsGeneral = new QWidget;
        tsGeneral->setObjectName("tsGeneral");
        pgcOptions->addTab(tsGeneral, "General");
        auto *pageLabel = new QLabel("On a page", tsGeneral);
        pageLabel->setObjectName("lblOnPage");
        layout->addWidget(pgcOptions);

        pmMenu = new QMenu("Menu", this);
        pmMenu->setObjectName("pmMenu");
        nPlay = pmMenu->addAction("&Play");
        nPlay->setObjectName("nPlay");
        nPlay->setStatusTip("Starts playing");
        nNoHint = pmMenu->addAction("&Stop");
        nNoHint->setObjectName("nNoHint");
        nSep = pmMenu->addSeparator();
        nSep->setObjectName("nSep");
        nSubMenu = pmMenu->addMenu("&Tools");
        nSubMenu->setObjectName("nSubMenu");

        dlgOpen = new QFileDialog(this, "Open File");
        dlgOpen->setObjectName("dlgOpen");
        dlgOpen->setOption(QFileDialog::DontUseNativeDialog);
        dlgOpen->setNameFilters({"All (*)"});

        // A window of its own inside this one: it has its own section.
        frmChild = new QDialog(this);
        frmChild->setObjectName("frmChild");
        frmChild->setWindowTitle("Child");
        lblChild = new QLabel("Child label", frmChild);
        lblChild->setObjectName("lblName");
    }

    template <class T>
    T *Add(const char *name, const char *text)
    {
        auto *w = new T(text, this);
        w->setObjectName(name);
        layout()->addWidget(w);
        return w;
    }

    QLabel *lblName, *lblEmpty, *lblChild;
    QPushButton *btnOk;
    QCheckBox *chkMute;
    QLineEdit *edtHost, *edtEmpty;
    QComboBox *cbbMode;
    QListWidget *lstItems;
    QTreeWidget *lvHotkeys;
    QTableWidget *tblTasks;
    QGroupBox *rgTurn;
    QTabWidget *pgcOptions;
    QWidget *tsGeneral;
    QMenu *pmMenu, *nSubMenu;
    QAction *nPlay, *nNoHint, *nSep;
    QFileDialog *dlgOpen;
    QDialog *frmChild;
};

QString Radio(QGroupBox *group, int i) { return group->findChildren<QRadioButton *>()[i]->text(); }

const char *SampleGerman = "[Info]\r\nLanguage=Deutsch\r\n"
                           "[Font]\r\nFontName=DejaVu Serif\r\nFontSize=17\r\n"
                           "[frmSample]\r\n"
                           "frmSample=Beispiel\r\n"
                           "lblName=Name (de):\r\n"
                           "lblEmpty=must stay empty\r\n"
                           "btnOk=&Gut\r\n"
                           "chkMute=Stumm\r\n"
                           "edtHost=rechner\r\n"
                           "edtEmpty=must stay empty\r\n"
                           "cbbMode.Item0=Schnell\r\n"
                           "cbbMode.Item2=Aus\r\n"
                           "cbbMode.Item3=no such item\r\n"
                           "lstItems.Item1=zweites\r\n"
                           "lvHotkeys.Col0=Aktion\r\n"
                           "lvHotkeys.Col1=Taste\r\n"
                           "lvHotkeys.Item0=Spielen\r\n"
                           "tblTasks.Col1=Ende\r\n"
                           "rgTurn=Richtung\r\n"
                           "rgTurn.Item1=&Ab\r\n"
                           "tsGeneral=Allgemein\r\n"
                           "lblOnPage=Auf einer Seite\r\n"
                           "pmMenu=Men\xC3\xBC\r\n"
                           "nPlay=&Spielen\r\n"
                           "nPlay.Hint=Spielt ab\r\n"
                           "nNoHint.Hint=no hint to replace\r\n"
                           "nSep=Trenner\r\n"
                           "nSubMenu=&Werkzeuge\r\n"
                           "dlgOpen=Datei \xC3\xB6" "ffnen\r\n"
                           "dlgOpen.Filter=Textdateien (*.txt)|*.txt|Bilder|*.png;*.jpg\r\n"
                           "[frmChild]\r\n"
                           "frmChild=Kind\r\n";

} // namespace

TEST_F(LanguageTest, TranslateWindowReplacesEveryKindOfText)
{
    WriteLanguage("de", SampleGerman);
    SetCurLng("de");
    TfrmSample w;
    EXPECT_TRUE(TranslateWindow(&w));

    EXPECT_EQ(w.windowTitle(), "Beispiel");
    EXPECT_EQ(w.lblName->text(), "Name (de):");
    EXPECT_EQ(w.lblEmpty->text(), "");
    EXPECT_EQ(w.btnOk->text(), "&Gut");
    EXPECT_EQ(w.chkMute->text(), "Stumm");
    EXPECT_EQ(w.edtHost->text(), "rechner");
    EXPECT_EQ(w.edtEmpty->text(), "");
    EXPECT_EQ(w.cbbMode->itemText(0), "Schnell");
    EXPECT_EQ(w.cbbMode->itemText(1), "Slow");
    EXPECT_EQ(w.cbbMode->itemText(2), "Aus");
    EXPECT_EQ(w.cbbMode->count(), 3);
    EXPECT_EQ(w.lstItems->item(0)->text(), "first");
    EXPECT_EQ(w.lstItems->item(1)->text(), "zweites");
    EXPECT_EQ(w.lvHotkeys->headerItem()->text(0), "Aktion");
    EXPECT_EQ(w.lvHotkeys->headerItem()->text(1), "Taste");
    EXPECT_EQ(w.lvHotkeys->topLevelItem(0)->text(0), "Spielen");
    EXPECT_EQ(w.lvHotkeys->topLevelItem(0)->text(1), "Ctrl + Alt + P");
    ASSERT_NE(w.tblTasks->horizontalHeaderItem(1), nullptr);
    EXPECT_EQ(w.tblTasks->horizontalHeaderItem(1)->text(), "Ende");
    EXPECT_EQ(w.rgTurn->title(), "Richtung");
    EXPECT_EQ(Radio(w.rgTurn, 0), "&Up");
    EXPECT_EQ(Radio(w.rgTurn, 1), "&Ab");
    EXPECT_EQ(w.pgcOptions->tabText(0), "Allgemein");
    EXPECT_EQ(w.findChild<QLabel *>("lblOnPage")->text(), "Auf einer Seite");
    EXPECT_EQ(w.pmMenu->title(), "Men\u00fc");
    EXPECT_EQ(w.nPlay->text(), "&Spielen");
    EXPECT_EQ(w.nPlay->statusTip(), "Spielt ab");
    EXPECT_EQ(w.nNoHint->statusTip(), "");
    EXPECT_EQ(w.nSep->text(), "Trenner");
    EXPECT_EQ(w.nSubMenu->title(), "&Werkzeuge");
    EXPECT_EQ(w.dlgOpen->windowTitle(), "Datei \u00f6ffnen");
    EXPECT_EQ(w.dlgOpen->nameFilters(), (QStringList{"Textdateien (*.txt)", "Bilder (*.png *.jpg)"}));

    // The inner window keeps its own texts: only its own section applies to it.
    EXPECT_EQ(w.lblChild->text(), "Child label");
    EXPECT_EQ(w.frmChild->windowTitle(), "Child");
    EXPECT_TRUE(TranslateWindow(w.frmChild));
    EXPECT_EQ(w.frmChild->windowTitle(), "Kind");
    EXPECT_EQ(w.lblChild->text(), "Child label");

    EXPECT_EQ(w.font().family(), "DejaVu Serif");
    EXPECT_EQ(w.font().pointSize(), 17);
}

TEST_F(LanguageTest, BadOrMissingValuesLeaveTheTexts)
{
    WriteLanguage("bad", "[Info]\r\nLanguage=Bad\r\n"
                         "[Font]\r\nFontSize=huge\r\n"
                         "[frmSample]\r\n"
                         "frmSample=\r\n"
                         "lblName=\xD6\xD0\xCE\xC4\r\n" // GBK, not UTF-8
                         "btnOk\r\n"
                         "chkMute =  Ruhe  \r\n");
    TfrmSample w;
    for (const char *code : {"bad", "absent"}) {
        SetCurLng(code);
        EXPECT_EQ(TranslateWindow(&w), std::string(code) == "bad") << code;
        EXPECT_EQ(w.windowTitle(), "Sample");
        EXPECT_EQ(w.lblName->text(), "Name:");
        EXPECT_EQ(w.btnOk->text(), "&OK");
        EXPECT_EQ(w.chkMute->text(), "Ruhe"); // taken from "bad", then kept
        EXPECT_EQ(w.font().pointSize(), QToolTip::font().pointSize());
    }
}

TEST_F(LanguageTest, SwitchingRetranslatesOpenWindowsAndLaterOnes)
{
    const std::string english = "[Info]\r\nLanguage=English\r\n[Strings]\r\n18=Play\r\n"
                                "[frmSample]\r\nfrmSample=Sample\r\nlblName=Name:\r\nnPlay=&Play\r\n"
                                "lvHotkeys.Col0=Action\r\ncbbMode.Item1=Slow\r\n";
    const std::string chinese = "[Info]\r\nLanguage=\xE4\xB8\xAD\xE6\x96\x87\r\n[Strings]\r\n18=\xE6\x92\xAD\xE6\x94\xBE\r\n"
                                "[frmSample]\r\nfrmSample=\xE7\xA4\xBA\xE4\xBE\x8B\r\nlblName=\xE5\x90\x8D\xE7\xA7\xB0\r\n"
                                "nPlay=\xE6\x92\xAD\xE6\x94\xBE(&P)\r\nlvHotkeys.Col0=\xE5\x8A\xA8\xE4\xBD\x9C\r\n"
                                "cbbMode.Item1=\xE6\x85\xA2\r\n";
    WriteLanguage("eng", english);
    WriteLanguage("chs", chinese);
    SetCurLng("eng");

    auto first = std::make_unique<TfrmSample>();
    AddTranslatedWindow(first.get());
    auto closed = std::make_unique<TfrmSample>();
    AddTranslatedWindow(closed.get());
    closed.reset(); // a window that went away must not trouble the switch

    int switches = 0;
    auto listener = std::make_unique<QObject>();
    OnLanguageSwitched(listener.get(), [&] { ++switches; });

    ASSERT_TRUE(SwitchLanguage("chs"));
    EXPECT_EQ(CurLng(), "chs");
    EXPECT_EQ(Msg(18), "\xE6\x92\xAD\xE6\x94\xBE");
    EXPECT_EQ(first->windowTitle(), "\u793a\u4f8b");
    EXPECT_EQ(first->lblName->text(), "\u540d\u79f0");
    EXPECT_EQ(first->nPlay->text(), "\u64ad\u653e(&P)");
    EXPECT_EQ(first->lvHotkeys->headerItem()->text(0), "\u52a8\u4f5c");
    EXPECT_EQ(first->cbbMode->itemText(1), "\u6162");
    EXPECT_EQ(switches, 1);

    // Picking the language in use changes nothing.
    EXPECT_FALSE(SwitchLanguage("chs"));
    EXPECT_EQ(switches, 1);

    TfrmSample later;
    AddTranslatedWindow(&later);
    EXPECT_EQ(later.windowTitle(), "\u793a\u4f8b");
    EXPECT_EQ(later.nPlay->text(), "\u64ad\u653e(&P)");

    ASSERT_TRUE(SwitchLanguage("eng"));
    for (TfrmSample *w : {first.get(), &later}) {
        EXPECT_EQ(w->windowTitle(), "Sample");
        EXPECT_EQ(w->lblName->text(), "Name:");
        EXPECT_EQ(w->nPlay->text(), "&Play");
        EXPECT_EQ(w->lvHotkeys->headerItem()->text(0), "Action");
        EXPECT_EQ(w->cbbMode->itemText(1), "Slow");
    }
    EXPECT_EQ(Msg(18), "Play");
    EXPECT_EQ(switches, 2);

    listener.reset();
    ASSERT_TRUE(SwitchLanguage("chs"));
    EXPECT_EQ(switches, 2);
}

TEST_F(LanguageTest, PartialLanguageKeepsThePreviousWindowTexts)
{
    WriteLanguage("de", SampleGerman);
    WriteLanguage("part", "[Info]\r\nLanguage=Part\r\n[frmSample]\r\nfrmSample=Teil\r\n");
    SetCurLng("eng");
    TfrmSample w;
    AddTranslatedWindow(&w);
    ASSERT_TRUE(SwitchLanguage("de"));
    ASSERT_TRUE(SwitchLanguage("part"));
    EXPECT_EQ(w.windowTitle(), "Teil");
    EXPECT_EQ(w.lblName->text(), "Name (de):");
    EXPECT_EQ(w.nPlay->text(), "&Spielen");
    // The font is not a text: without [Font] it goes back to the default.
    EXPECT_EQ(w.font().pointSize(), QToolTip::font().pointSize());
}

TEST_F(LanguageTest, LanguageMenuChecksTheCurrentLanguageAndSwitchesOnAPick)
{
    WriteLanguage("eng", "[Info]\r\nLanguage=English\r\n[frmSample]\r\nlblName=Name:\r\n");
    WriteLanguage("de", SampleGerman);
    WriteLanguage("noinfo", "[frmSample]\r\nlblName=never offered\r\n");
    SetCurLng("ENG");
    TfrmSample w;
    AddTranslatedWindow(&w);

    QMenu menu;
    menu.addAction("stale entry");
    FillLanguageMenu(&menu);
    const auto actions = menu.actions();
    ASSERT_EQ(actions.size(), 2);
    QAction *german = nullptr;
    for (QAction *a : actions) {
        EXPECT_TRUE(a->text() == "English" || a->text() == "Deutsch") << a->text().toStdString();
        EXPECT_EQ(a->isChecked(), a->text() == "English");
        if (a->text() == "Deutsch")
            german = a;
    }
    ASSERT_NE(german, nullptr);
    german->trigger();
    EXPECT_EQ(CurLng(), "de");
    EXPECT_EQ(w.lblName->text(), "Name (de):");

    FillLanguageMenu(&menu);
    for (QAction *a : menu.actions())
        EXPECT_EQ(a->isChecked(), a->text() == "Deutsch");
}
