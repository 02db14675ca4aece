#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace artgen {

// One picture of the product: its file name in art/ and its pixels.
struct NamedPicture
{
    QString name;
    QImage image;
};

// Every picture, in the order the contact sheet shows them.
std::vector<NamedPicture> allPictures();

// Key colours that cut the borderless windows' outlines.
inline constexpr QRgb kTrainerKey = 0xff000033u; // RGB(0, 0, 51)
inline constexpr QRgb kSplashKey = 0xff000011u;  // RGB(0, 0, 17)
inline constexpr QRgb kBodyGrey = 0xffccccccu;   // RGB(204, 204, 204)

// Window backgrounds (Windows.cpp, Splash.cpp, Login.cpp).
QImage trainerBackground();
QImage splash();
QImage loginBackground();

// Pictures of the trainer's controls (Controls.cpp). `lit` selects the brighter hover picture.
QImage meter();
QImage scoreBar();
QImage titleStrip(const QImage &trainer);
QImage panelPlain();
QImage panelHidden();
QImage optionsPanel();
QImage pillButton(const QString &label, bool lit);
QImage stopButton(bool lit);
QImage helpButton(bool lit);
QImage closeButton(const QImage &trainer, bool lit);

// Cards (Cards.cpp): Zener faces 1..5, colour faces 1..5, spade faces 1..5, the back and the icon.
QImage zenerCard(int face);
QImage colourCard(int face);
QImage spadeCard(int face);
QImage cardBack();
QImage icon(int size);

// The contact sheet: every picture at 1:1 with its name under it.
QImage contactSheet(const std::vector<NamedPicture> &pictures);

} // namespace artgen
