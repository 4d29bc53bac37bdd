#include "SkinFixture.h"

#include <QPainter>

#include <filesystem>
#include <stdexcept>

QImage Solid(int width, int height, const QColor &colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void SaveImage(const QImage &image, const std::string &path)
{
    if (!image.save(QString::fromStdString(path)))
        throw std::runtime_error("cannot write " + path);
}

void WriteIcon(const std::string &path, const QColor &colour)
{
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(colour);
    SaveImage(icon, path);
}

void WriteTinySkin(const std::string &folder, const TTinySkin &skin)
{
    std::filesystem::create_directories(folder);
    const std::string ext = skin.Png ? ".png" : ".bmp";

    QImage main = Solid(40, 20, skin.Main);
    for (auto [x, y] : {std::pair{0, 0}, {39, 0}, {0, 19}, {39, 19}, {20, 10}})
        main.setPixel(x, y, MaskRgb);
    SaveImage(main, folder + "/main" + ext);
    SaveImage(Solid(40, 20, skin.Pressed), folder + "/main_down" + ext);
    SaveImage(Solid(30, 30, skin.List), folder + "/playlist" + ext);

    QImage add = Solid(40, 10, Qt::black);
    QPainter p(&add);
    p.fillRect(0, 0, 10, 10, Qt::green);
    p.fillRect(10, 0, 10, 10, Qt::yellow);
    p.fillRect(20, 0, 6, 6, Qt::white);
    p.fillRect(26, 0, 6, 6, Qt::cyan);
    p.end();
    add.setPixel(20, 0, MaskRgb);
    SaveImage(add, folder + "/add" + ext);

    std::string ini = "[Skin]\r\n";
    if (skin.Png)
        ini += "Face_MainForm=main.png\r\nFace_MainForm_Down=main_down.png\r\n"
               "Face_PlayListForm=playlist.png\r\nFace_Add=add.png\r\n";
    ini += "ColorMask_MainForm=255,0,255\r\nColorMask_Add=255,0,255\r\nNotCropRegion_MainForm=2,2,38,18\r\n" +
           skin.SkinKeys + "[MainForm]\r\nbPlay=10,5,20,15\r\n" + skin.MainFormKeys +
           "[AddFace]\r\nbPlay=0,0,10,10\r\nbPlay_Down=10,0,20,10\r\n"
           "bVolumeMove=20,0,26,6\r\nbVolumeMove_Down=26,0,32,6\r\n"
           "[VolumeBar]\r\nBoundsRect=2,12,38,18\r\n" +
           skin.ExtraIni;
    WriteFileBytes(folder + "/skin.ini", ini);
}
