#pragma once
// Tiny skins written by the tests, small enough to check pixel by pixel.
//
// The main face is 40 x 20 in the skin's main colour with mask-coloured
// (255,0,255) corner pixels and one mask pixel in the middle at (20,10); the
// pressed face is all pressed colour. The add face holds the play button's
// toggled looks (green, yellow) and the volume thumb (white with one mask
// pixel at its top left; dragged: cyan).

#include "TestSupport.h"

#include <QColor>
#include <QImage>

#include <string>

constexpr QRgb MaskRgb = 0xFFFF00FF;

struct TTinySkin {
    QColor Main = QColor(100, 100, 100);
    QColor Pressed = QColor(200, 0, 0);
    QColor List = QColor(0, 0, 120);
    // More "key=value\r\n" lines for [Skin] and [MainForm], and whole
    // sections appended at the end.
    std::string SkinKeys, MainFormKeys, ExtraIni;
    // Bitmaps as BMP (the historical format) or PNG.
    bool Png = false;
};

// Writes the skin into `folder` (created), with main, pressed, list, add
// faces and "skin.ini".
void WriteTinySkin(const std::string &folder, const TTinySkin &skin = {});

QImage Solid(int width, int height, const QColor &colour);
void SaveImage(const QImage &image, const std::string &path);
// A 16 x 16 icon file of one colour.
void WriteIcon(const std::string &path, const QColor &colour);
