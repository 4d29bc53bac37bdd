#pragma once
// Drawing pieces of the generated skins: a colour theme, buttons with their
// glyphs, seven-segment digits, small icons and the cutting of a shape
// against the mask colour.

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;

struct TTheme {
    QString Folder;
    QString Title;
    QColor BodyTop, BodyBottom, Edge;          // the case and its rim
    QColor Panel, PanelEdge, LcdText, LcdDim;  // display panels
    QColor Accent, AccentDark, Record;         // lit parts
    QColor Button, ButtonHi, Glyph;            // buttons
    QColor ListBack, ListText;                 // station list
    bool Chamfered;                            // cut corners instead of round ones
    double Corner;                             // corner size of the case
    double ButtonRadius;                       // corner radius of square buttons
    bool RoundButtons;                         // round transport buttons
};

// The colour cut out of the windows' outlines and of the slider thumbs.
inline const QColor MaskColor(255, 0, 255);

enum class TGlyph {
    None, Menu, Dots, Clock, Globe, Info, Minimize, Close, Previous, Play, Pause, Stop, Next, Record,
    Folder, List, Plus, Minus, Speaker, SpeakerMuted, Note, Up, Down, Hourglass,
    AddRadio, AddGroup, Edit, Delete, Find, Channel
};

// Lit: a toggled button that is on; Dim: one whose glyph is greyed.
enum class TLook { Normal, Pressed, Lit, LitPressed, Dim };

// The case outline of a w x h face.
QPainterPath CaseShape(const TTheme &t, double w, double h);
// A button: round when `round`, else a rounded square, with its glyph.
void DrawButton(QPainter &p, const TTheme &t, const QRectF &r, TGlyph glyph, TLook look, bool round);
void DrawGlyph(QPainter &p, const QRectF &r, TGlyph glyph, const QColor &colour);
// A display panel, sunk into the case.
void DrawPanel(QPainter &p, const TTheme &t, const QRectF &r, double radius);
// A slider groove; filled with the accent when `filled`.
void DrawGroove(QPainter &p, const TTheme &t, const QRectF &r, bool filled);

// A strip of twelve cells (0-9, separator, blank) of seven-segment digits on
// the panel colour.
QImage DigitStrip(const TTheme &t, int cellWidth, int cellHeight);

// An icon of the station tree (index 0 to 9), 16 x 16.
QImage TreeIcon(const TTheme &t, int index);
// Frame n (0 to 7) of the tray animation, 32 x 32.
QImage TrayFrame(const TTheme &t, int n);

// Pixels of an ARGB image that are mostly transparent become the mask
// colour; the rest are laid over `under`, so edges stay smooth without a
// fringe of the mask colour.
QImage CutToMask(const QImage &argb, const QColor &under);
