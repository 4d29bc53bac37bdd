// The window side of the languages: translating a window's texts by the
// objectNames of its components, the list of translated windows, the language
// switch and the "&Language" menu.

#include "appearance/LanguageU.h"

#include "app/GlobalUnit.h"
#include "platform/IniFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolTip>

#include <algorithm>

namespace {

QString ToQ(const std::string &s) { return QString::fromStdString(s); }

std::string IndexedKey(const std::string &name, const char *suffix, int i) { return name + suffix + std::to_string(i); }

// An open-dialog filter "Label|*.a;*.b|..." as Qt's "Label (*.a *.b)" list.
QStringList DialogFilters(const QString &pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        const QString ownPattern = QLatin1Char('(') + parts[i + 1] + QLatin1Char(')');
        if (label.endsWith(ownPattern))
            label.chop(ownPattern.size());
        label = label.trimmed();
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << (label.isEmpty() ? QString() : label + QLatin1Char(' ')) + QLatin1Char('(') + patterns +
                       QLatin1Char(')');
    }
    return filters;
}

// Applies one window's section of a language file to the window's caption
// and to every named component it owns, in creation order.
class TWindowTranslator {
public:
    TWindowTranslator(const std::string &fileName, const std::string &section) : texts_(fileName, section) {}

    bool Translate(QWidget *window, const std::string &name)
    {
        if (auto caption = Text(name))
            window->setWindowTitle(*caption);
        VisitChildren(window);
        return texts_.Exists();
    }

private:
    std::optional<QString> Text(const std::string &key) const
    {
        auto text = texts_.Text(key);
        return text ? std::optional<QString>(ToQ(*text)) : std::nullopt;
    }

    // Replaces a caption that is not empty; an empty one stays as it is.
    template <class Set>
    void ReplaceCaption(const QString &current, const std::string &key, Set set) const
    {
        if (current.isEmpty())
            return;
        if (auto text = Text(key))
            set(*text);
    }

    template <class Set>
    void ReplaceItems(int count, const std::string &name, const char *suffix, Set set) const
    {
        for (int i = 0; i < count; ++i) {
            if (auto text = Text(IndexedKey(name, suffix, i)))
                set(i, *text);
        }
    }

    void VisitChildren(QObject *parent)
    {
        const QObjectList children = parent->children();
        for (QObject *child : children) {
            auto *widget = qobject_cast<QWidget *>(child);
            // Other windows translate themselves from their own sections; a
            // popup menu and a file dialog belong to the window that holds them.
            const bool ownWindow = widget && widget->isWindow() && !qobject_cast<QMenu *>(widget);
            if (ownWindow && !qobject_cast<QFileDialog *>(widget))
                continue;
            if (!child->objectName().isEmpty())
                TranslateComponent(child, child->objectName().toStdString());
            if (!ownWindow)
                VisitChildren(child);
        }
    }

    void TranslateComponent(QObject *component, const std::string &name)
    {
        if (auto *menu = qobject_cast<QMenu *>(component))
            TranslateMenuItem(menu->menuAction(), name);
        else if (auto *action = qobject_cast<QAction *>(component))
            TranslateMenuItem(action, name);
        else if (auto *label = qobject_cast<QLabel *>(component))
            ReplaceCaption(label->text(), name, [label](const QString &t) { label->setText(t); });
        else if (auto *button = qobject_cast<QAbstractButton *>(component))
            ReplaceCaption(button->text(), name, [button](const QString &t) { button->setText(t); });
        else if (auto *edit = qobject_cast<QLineEdit *>(component))
            ReplaceCaption(edit->text(), name, [edit](const QString &t) { edit->setText(t); });
        else if (auto *group = qobject_cast<QGroupBox *>(component))
            TranslateGroup(group, name);
        else if (auto *combo = qobject_cast<QComboBox *>(component))
            ReplaceItems(combo->count(), name, ".Item", [combo](int i, const QString &t) { combo->setItemText(i, t); });
        else if (auto *view = qobject_cast<QAbstractItemView *>(component))
            TranslateItemView(view, name);
        else if (auto *dialog = qobject_cast<QFileDialog *>(component))
            TranslateFileDialog(dialog, name);
        else if (auto *page = qobject_cast<QWidget *>(component))
            TranslateTabPage(page, name);
    }

    void TranslateMenuItem(QAction *action, const std::string &name)
    {
        // A separator counts as captioned: its caption is "-" where menus are
        // built from captions, so a key for it is applied too.
        const QString caption = action->isSeparator() ? QStringLiteral("-") : action->text();
        ReplaceCaption(caption, name, [action](const QString &t) { action->setText(t); });
        ReplaceCaption(action->statusTip(), name + ".Hint", [action](const QString &t) { action->setStatusTip(t); });
    }

    // A group box, and a radio group: the group box's own radio buttons are
    // its items, in the order they were made.
    void TranslateGroup(QGroupBox *group, const std::string &name)
    {
        ReplaceCaption(group->title(), name, [group](const QString &t) { group->setTitle(t); });
        const auto radios = group->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly);
        ReplaceItems(static_cast<int>(radios.size()), name, ".Item",
                     [&radios](int i, const QString &t) { radios[i]->setText(t); });
    }

    // A list box has items; a list view (a tree or table view) also columns.
    void TranslateItemView(QAbstractItemView *view, const std::string &name)
    {
        QAbstractItemModel *model = view->model();
        if (!model)
            return;
        if (!qobject_cast<QListView *>(view)) {
            auto *table = qobject_cast<QTableWidget *>(view);
            ReplaceItems(model->columnCount(), name, ".Col", [model, table](int i, const QString &t) {
                // A table widget keeps header texts only in header items.
                if (table && !table->horizontalHeaderItem(i))
                    table->setHorizontalHeaderItem(i, new QTableWidgetItem);
                model->setHeaderData(i, Qt::Horizontal, t);
            });
        }
        ReplaceItems(model->rowCount(), name, ".Item",
                     [model](int i, const QString &t) { model->setData(model->index(i, 0), t); });
    }

    void TranslateFileDialog(QFileDialog *dialog, const std::string &name)
    {
        ReplaceCaption(dialog->windowTitle(), name, [dialog](const QString &t) { dialog->setWindowTitle(t); });
        ReplaceCaption(dialog->nameFilters().join(QLatin1Char('|')), name + ".Filter",
                       [dialog](const QString &t) { dialog->setNameFilters(DialogFilters(t)); });
    }

    // A tab sheet is a page of a tab widget (inside its stacked widget).
    void TranslateTabPage(QWidget *page, const std::string &name)
    {
        QWidget *stack = page->parentWidget();
        auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
        const int index = tabs ? tabs->indexOf(page) : -1;
        if (index < 0)
            return;
        ReplaceCaption(tabs->tabText(index), name, [tabs, index](const QString &t) { tabs->setTabText(index, t); });
    }

    TLanguageSection texts_;
};

// [Font] of the language file, each value defaulting to the tooltip font.
void ApplyFont(QWidget *window, const std::string &fileName)
{
    const TLanguageSection font(fileName, "Font");
    QFont f = QToolTip::font();
    if (auto family = font.Text("FontName"))
        f.setFamily(ToQ(*family));
    int size = 0;
    if (auto text = font.Text("FontSize"); text && ParseInt(*text, size) && size > 0)
        f.setPointSize(size);
    window->setFont(f);
}

std::vector<QPointer<QWidget>> &TranslatedWindows()
{
    static std::vector<QPointer<QWidget>> windows;
    return windows;
}

struct TSwitchHandler {
    QPointer<QObject> Context;
    std::function<void()> Run;
};

std::vector<TSwitchHandler> &SwitchHandlers()
{
    static std::vector<TSwitchHandler> handlers;
    return handlers;
}

} // namespace

bool TranslateWindow(QWidget *window)
{
    if (!window)
        return false;
    const std::string fileName = LanguageFileName(CurLng());
    ApplyFont(window, fileName);
    const std::string name = window->objectName().toStdString();
    return !name.empty() && TWindowTranslator(fileName, name).Translate(window, name);
}

void AddTranslatedWindow(QWidget *window)
{
    if (!window)
        return;
    auto &windows = TranslatedWindows();
    std::erase_if(windows, [](const QPointer<QWidget> &w) { return w.isNull(); });
    if (std::find(windows.begin(), windows.end(), window) == windows.end())
        windows.emplace_back(window);
    TranslateWindow(window);
}

bool SwitchLanguage(const std::string &code)
{
    if (code.empty() || code == CurLng())
        return false;
    SetCurLng(code);
    LoadMessageTable();
    // Work on copies: a handler may open a window, which registers itself.
    auto &windows = TranslatedWindows();
    std::erase_if(windows, [](const QPointer<QWidget> &w) { return w.isNull(); });
    for (const QPointer<QWidget> &window : std::vector<QPointer<QWidget>>(windows)) {
        if (window)
            TranslateWindow(window);
    }
    auto &handlers = SwitchHandlers();
    std::erase_if(handlers, [](const TSwitchHandler &h) { return h.Context.isNull(); });
    for (const TSwitchHandler &handler : std::vector<TSwitchHandler>(handlers)) {
        if (handler.Context)
            handler.Run();
    }
    return true;
}

void OnLanguageSwitched(QObject *context, std::function<void()> handler)
{
    if (context && handler)
        SwitchHandlers().push_back({context, std::move(handler)});
}

void FillLanguageMenu(QMenu *menu)
{
    menu->clear();
    for (const TLanguageEntry &entry : ListLanguages(LanguagePath(), CurLng())) {
        QAction *action = menu->addAction(ToQ(entry.Caption));
        action->setCheckable(true);
        action->setChecked(entry.Checked);
        QObject::connect(action, &QAction::triggered, menu, [code = entry.Code] { SwitchLanguage(code); });
    }
}
