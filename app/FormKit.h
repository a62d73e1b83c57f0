#pragma once
// Building blocks shared by the program's windows: the window font, the fixed dialog frame, and
// labels, buttons and bevels at fixed places.
#include <QFont>
#include <QRect>
#include <QString>
#include <Qt>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

// A dialog of fixed size with a close box only.
constexpr Qt::WindowFlags kFixedDialogFlags =
    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint;

// Tahoma 8 point at 96 dots per inch, in pixels: the windows do not scale with the system font.
QFont WindowFont();

// A label sized to its text with its top left corner at x, y.
QLabel* AddLabel(QWidget* parent, const QString& name, const QString& text, int x, int y);
// A push button that is never the default button; `tabStop` false leaves it out of the Tab chain.
QPushButton* AddButton(QWidget* parent, const QString& name, const QString& text, const QRect& geometry,
                       bool tabStop = true);
// The sunken frame around a dialog's contents.
QFrame* AddBevel(QWidget* parent, const QRect& geometry);
// The bold dark red of total lines.
void MakeTotalLabel(QLabel* label);
