#pragma once
// Where the window frame's pictures go: which rectangle of the frame bitmap is copied to which
// rectangle of which frame image, and which cell of the caption button bitmap a button shows.
// Plain data, so the layout is checked without painting anything.
#include <QRect>
#include <QString>
#include <QVector>

namespace skin {

// The smallest window the frame is drawn for: the fixed pieces of the title bar and the bottom
// edge need this much room.
constexpr int kMinWidth = 251;
constexpr int kMinHeight = 189;

// Sizes of the frame panels around the centre panel.
constexpr int kTopHeight = 36;
constexpr int kSideWidth = 2;
constexpr int kBottomHeight = 6;
// Presses on the title bar above this row move the window.
constexpr int kDragRows = 32;
constexpr int kButtonSize = 20;

enum class FrameImage { Top, Left, Right, Bottom };
enum class Copy { Plain, Stretched };

struct Piece {
    FrameImage image;
    QRect target; // in the frame image
    QRect source; // in the frame bitmap
    Copy copy;
};

// True when a window of W x H is large enough for the frame.
bool FrameFits(int width, int height);

// The pieces for a window of W x H in painting order: the title bar from left to right, the left
// and right edges, the bottom edge from left to right. Empty when the frame does not fit.
// A piece may be zero wide (the bottom edge's middle at the smallest width): it copies nothing.
QVector<Piece> FramePieces(int width, int height);

// The 20 x 20 cell of the caption button bitmap for a button name ("minimize", "close") and state
// ("up", "down"), letter case ignored; an empty rectangle for any other combination.
QRect ButtonCell(const QString& name, const QString& state);

} // namespace skin
