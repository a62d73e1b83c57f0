#pragma once
// The frame of the frameless main window: the title bar and edges painted from the frame bitmap,
// the picture and caption in the title bar, minimize and close buttons, moving the window by its
// title bar, and the window region. Everything is set up once, for the window's fixed size.
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>

class QLabel;
class QMouseEvent;
class QWidget;
class QWindow;

class TSkinMan : public QObject {
    Q_OBJECT
public:
    // The window to skin is the centre panel's parent. A window with a border, or too small for the
    // frame, is left exactly as it is.
    TSkinMan(QLabel* left, QLabel* top, QLabel* right, QLabel* bottom, QWidget* center);
    ~TSkinMan() override;

    // Paints the cell of `name` ("minimize", "close") in `state` ("up", "down") into the button.
    static void DrawButton(QLabel* button, const QString& name, const QString& state);

    // Created only when the window was skinned.
    QPointer<QLabel> FIcon;
    QPointer<QLabel> FTitle;
    QPointer<QLabel> FMinimize;
    QPointer<QLabel> FClose;

    // Starts the system's own move of the window; tests count the calls instead. Where the system
    // cannot move it (false), the window follows the pointer until the button is released.
    std::function<bool(QWindow*)> startSystemMove;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TitleMouseDown(const QMouseEvent& event);
    void MinimizeMouseDown(QLabel* sender, Qt::MouseButton button);
    void MinimizeMouseUp(QLabel* sender, Qt::MouseButton button);
    void CloseMouseDown(QLabel* sender, Qt::MouseButton button);
    void CloseMouseUp(QLabel* sender, Qt::MouseButton button);
    QLabel* makeButton(QWidget* bar, const QString& name, const QString& tip, int left);

    QPointer<QLabel> m_top;
    QPointer<QWidget> m_window;
    bool m_dragging = false;
    QPoint m_dragOffset; // from the window's corner to the pointer
};

// Sizes the image to its panel and gives it a picture of the same size to paint into.
void FitImageToParent(QLabel* image);
