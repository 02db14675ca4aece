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
// The @2x variant of every window and control picture ("card-back@2x.png" beside "card-back.png"): the
// same drawing at twice the resolution, so shapes and letters are sharp on screens of twice the
// density. Its key-coloured pixels are exactly the 1x key pixels, each doubled, because the window
// outline is cut from the 1x picture.
std::vector<NamedPicture> doubleDensityPictures();

// Key colours that cut the borderless windows' outlines.
inline constexpr QRgb kTrainerKey = 0xff000033u; // RGB(0, 0, 51)
inline constexpr QRgb kSplashKey = 0xff000011u;  // RGB(0, 0, 17)
inline constexpr QRgb kBodyGrey = 0xffccccccu;   // RGB(204, 204, 204)

// Every function drawing a window or control picture takes `scale`: 1 for the picture itself, 2 for
// its @2x variant (device pixel ratio 2, twice as many pixels each way, same logical size).

// Window backgrounds (Windows.cpp, Splash.cpp).
QImage trainerBackground(int scale);
QImage splash(int scale);
QImage loginBackground(int scale);

// Pictures of the trainer's controls (Controls.cpp). `lit` selects the brighter hover picture. The
// title strip and the close buttons are cut from `trainer` and have its scale.
QImage meter(int scale);
QImage scoreBar(int scale);
QImage titleStrip(const QImage &trainer);
QImage panelPlain(int scale);
QImage panelHidden(int scale);
QImage optionsPanel(int scale);
QImage pillButton(const QString &label, bool lit, int scale);
QImage stopButton(bool lit, int scale);
QImage helpButton(bool lit, int scale);
QImage closeButton(const QImage &trainer, bool lit);

// Cards (Cards.cpp): Zener faces 1..5, colour faces 1..5, spade faces 1..5, the back; the icon in
// `size` pixels.
QImage zenerCard(int face, int scale);
QImage colourCard(int face, int scale);
QImage spadeCard(int face, int scale);
QImage cardBack(int scale);
QImage icon(int size);

// The contact sheet: every picture at 1:1 with its name under it.
QImage contactSheet(const std::vector<NamedPicture> &pictures);

} // namespace artgen
