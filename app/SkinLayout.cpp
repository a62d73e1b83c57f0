#include "app/SkinLayout.h"

#include "app/HiClass.h"

#include <algorithm>

namespace skin {

bool FrameFits(int width, int height)
{
    return width >= kMinWidth && height >= kMinHeight;
}

QVector<Piece> FramePieces(int width, int height)
{
    if (!FrameFits(width, height))
        return {};
    const int w = width;
    const int h = height;
    // The room left between the fixed title bar pieces is shared by the two stretch sections.
    const int d1 = (w - 249) / 2;
    const int d2 = (w - 249) - d1;
    const int bar = kTopHeight;
    const int sides = h - kTopHeight - kBottomHeight;
    const int bottomStretch = w - 251;

    return {
        {FrameImage::Top, QRect(0, 0, 9, bar), QRect(0, 0, 9, bar), Copy::Plain},
        {FrameImage::Top, QRect(9, 0, 116, bar), QRect(10, 0, 116, bar), Copy::Plain},
        // A narrow section takes the end of its source that meets the fixed piece beside it.
        {FrameImage::Top, QRect(125, 0, d1, bar), QRect(127, 0, std::min(d1, 63), bar), Copy::Stretched},
        {FrameImage::Top, QRect(125 + d1, 0, d2, bar),
         QRect(std::max(317 - d2, 191), 0, std::min(d2, 126), bar), Copy::Stretched},
        {FrameImage::Top, QRect(w - 124, 0, 110, bar), QRect(318, 0, 110, bar), Copy::Plain},
        {FrameImage::Top, QRect(w - 14, 0, 14, bar), QRect(429, 0, 14, bar), Copy::Plain},

        {FrameImage::Left, QRect(0, 0, 2, sides), QRect(0, 37, 2, 12), Copy::Stretched},
        {FrameImage::Right, QRect(0, 0, 2, sides), QRect(441, 37, 2, 12), Copy::Stretched},

        {FrameImage::Bottom, QRect(0, 0, 126, kBottomHeight), QRect(0, 50, 126, 6), Copy::Plain},
        {FrameImage::Bottom, QRect(126, 0, bottomStretch, kBottomHeight),
         QRect(127, 50, std::min(bottomStretch, 190), 6), Copy::Stretched},
        {FrameImage::Bottom, QRect(w - 125, 0, 125, kBottomHeight), QRect(318, 50, 125, 6), Copy::Plain},
    };
}

QRect ButtonCell(const QString& name, const QString& state)
{
    // Letter case is ignored for A-Z only, as names and states are program texts.
    const QString n = THi::LowerAscii(name);
    const QString s = THi::LowerAscii(state);
    int x = -1;
    if (n == QLatin1String("minimize") && s == QLatin1String("down"))
        x = 20;
    else if (n == QLatin1String("minimize") && s == QLatin1String("up"))
        x = 0;
    else if (n == QLatin1String("close") && s == QLatin1String("down"))
        x = 80;
    else if (n == QLatin1String("close") && s == QLatin1String("up"))
        x = 60;
    if (x < 0)
        return {};
    return QRect(x, 0, kButtonSize, kButtonSize);
}

} // namespace skin
