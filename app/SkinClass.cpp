#include "app/SkinClass.h"

#include "app/Errors.h"
#include "app/SkinLayout.h"

#include <QEvent>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <QWindow>

namespace {

const QRgb kMagenta = qRgb(255, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);
// Tooltips of the caption buttons stay while the pointer rests on them.
const int kTooltipMs = 24 * 60 * 60 * 1000;

QImage frameBitmap(const QString& name)
{
    QImage image(QStringLiteral(":/") + name);
    if (image.isNull())
        throw ZError(QStringLiteral("程序资源 %1 缺失或已损坏。").arg(name));
    return image;
}

// The picture with every pixel of `key` made see-through.
QImage withTransparent(const QImage& picture, QRgb key)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == (key | 0xff000000u))
                line[x] = 0;
        }
    }
    return image;
}

// The label's picture as an image to paint into, the size of the label.
QImage canvasOf(const QLabel* image)
{
    QImage canvas = image->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    if (canvas.size() != image->size()) {
        canvas = QImage(image->size(), QImage::Format_ARGB32);
        canvas.fill(Qt::transparent);
    }
    return canvas;
}

bool isPress(const QEvent* event)
{
    return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
}

} // namespace

void FitImageToParent(QLabel* image)
{
    if (!image || !image->parentWidget())
        return;
    image->resize(image->parentWidget()->contentsRect().size());
    QPixmap picture(image->size());
    picture.fill(Qt::transparent);
    image->setPixmap(picture);
}

TSkinMan::TSkinMan(QLabel* left, QLabel* top, QLabel* right, QLabel* bottom, QWidget* center)
    : startSystemMove([](QWindow* window) { return window->startSystemMove(); })
{
    if (!left || !top || !right || !bottom || !center)
        return;
    QWidget* window = center->parentWidget();
    QWidget* pnlLeft = left->parentWidget();
    QWidget* pnlTop = top->parentWidget();
    QWidget* pnlRight = right->parentWidget();
    QWidget* pnlBottom = bottom->parentWidget();
    if (!window || !pnlLeft || !pnlTop || !pnlRight || !pnlBottom)
        return;
    const bool bordered = !window->isWindow() || !(window->windowFlags() & Qt::FramelessWindowHint);
    const int w = window->width();
    const int h = window->height();
    if (bordered || !skin::FrameFits(w, h))
        return;
    const QImage form = frameBitmap(QStringLiteral("RES_FORM"));
    const QImage icon = frameBitmap(QStringLiteral("RES_ICON"));
    m_window = window;
    m_top = top;

    // The panels round the centre, at the sizes the frame's pieces are cut for.
    const int sides = h - skin::kTopHeight - skin::kBottomHeight;
    pnlTop->setGeometry(0, 0, w, skin::kTopHeight);
    pnlLeft->setGeometry(0, skin::kTopHeight, skin::kSideWidth, sides);
    pnlRight->setGeometry(w - skin::kSideWidth, skin::kTopHeight, skin::kSideWidth, sides);
    pnlBottom->setGeometry(0, h - skin::kBottomHeight, w, skin::kBottomHeight);
    center->setGeometry(skin::kSideWidth, skin::kTopHeight, w - 2 * skin::kSideWidth, sides);
    for (QLabel* image : {left, top, right, bottom})
        FitImageToParent(image);

    center->setAutoFillBackground(true);
    QPalette palette = center->palette();
    palette.setColor(QPalette::Window, QColor(240, 240, 240));
    center->setPalette(palette);

    top->installEventFilter(this);

    QImage canvases[4] = {canvasOf(top), canvasOf(left), canvasOf(right), canvasOf(bottom)};
    {
        QPainter painters[4];
        for (int i = 0; i < 4; ++i) {
            painters[i].begin(&canvases[i]);
            painters[i].setCompositionMode(QPainter::CompositionMode_Source);
            painters[i].setRenderHint(QPainter::SmoothPixmapTransform, false);
        }
        for (const skin::Piece& piece : skin::FramePieces(w, h)) {
            if (piece.target.isEmpty() || piece.source.isEmpty())
                continue;
            // Each piece is cut out first, so stretching never reaches into the guide lines beside it.
            painters[static_cast<int>(piece.image)].drawImage(piece.target, form.copy(piece.source));
        }
    }
    top->setPixmap(QPixmap::fromImage(canvases[0]));
    left->setPixmap(QPixmap::fromImage(canvases[1]));
    right->setPixmap(QPixmap::fromImage(canvases[2]));
    bottom->setPixmap(QPixmap::fromImage(canvases[3]));

    FIcon = new QLabel(pnlTop);
    FIcon->setObjectName(QStringLiteral("imgSkinIcon"));
    FIcon->setPixmap(QPixmap::fromImage(withTransparent(icon, kWhite)));
    FIcon->setGeometry(10, (skin::kTopHeight - icon.height()) / 2, icon.width(), icon.height());
    FIcon->show();
    FIcon->raise();

    FTitle = new QLabel(pnlTop);
    FTitle->setObjectName(QStringLiteral("lblSkinTitle"));
    FTitle->setTextFormat(Qt::PlainText);
    QFont bold = window->font();
    bold.setBold(true);
    FTitle->setFont(bold);
    QPalette white = FTitle->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    FTitle->setPalette(white);
    const QString caption = window->windowTitle();
    // A long caption ends in "…" before the caption buttons instead of running under them.
    const int titleLeft = FIcon->x() + FIcon->width() + 5;
    const int room = w - 30 - 21 - 6 - titleLeft;
    const QFontMetrics metrics(bold);
    const QString shown = metrics.horizontalAdvance(caption) > room
                              ? metrics.elidedText(caption, Qt::ElideRight, room)
                              : caption;
    FTitle->setText(shown);
    if (shown != caption)
        FTitle->setToolTip(caption);
    FTitle->adjustSize();
    FTitle->move(titleLeft, (skin::kTopHeight - FTitle->height()) / 2);
    FTitle->show();
    FTitle->raise();

    FClose = makeButton(pnlTop, QStringLiteral("close"), QStringLiteral("Close"), w - skin::kButtonSize - 10);
    FMinimize = makeButton(pnlTop, QStringLiteral("minimize"), QStringLiteral("Minimize"),
                           FClose->x() - skin::kButtonSize - 1);

    window->setMask(QRegion(0, 0, w, h));
    window->update();
}

QLabel* TSkinMan::makeButton(QWidget* bar, const QString& name, const QString& tip, int left)
{
    auto* button = new QLabel(bar);
    button->setObjectName(name == QLatin1String("close") ? QStringLiteral("imgSkinClose")
                                                         : QStringLiteral("imgSkinMinimize"));
    button->setToolTip(tip);
    button->setToolTipDuration(kTooltipMs);
    button->setGeometry(left, (skin::kTopHeight - skin::kButtonSize) / 2, skin::kButtonSize,
                        skin::kButtonSize);
    button->installEventFilter(this);
    button->show();
    button->raise();
    DrawButton(button, name, QStringLiteral("up"));
    return button;
}

TSkinMan::~TSkinMan()
{
    if (m_top)
        m_top->removeEventFilter(this);
    delete FIcon.data();
    delete FTitle.data();
    delete FMinimize.data();
    delete FClose.data();
}

void TSkinMan::DrawButton(QLabel* button, const QString& name, const QString& state)
{
    if (!button)
        return;
    const QImage cells = frameBitmap(QStringLiteral("RES_TITLE"));
    QImage canvas = canvasOf(button);
    const QRect cell = skin::ButtonCell(name, state);
    if (!cell.isEmpty()) {
        QPainter painter(&canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), cells, cell);
    }
    button->setPixmap(QPixmap::fromImage(withTransparent(canvas, kMagenta)));
}

bool TSkinMan::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove && watched == m_top && m_dragging && m_window) {
        m_window->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_dragOffset);
        return true;
    }
    const bool press = isPress(event);
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (!press && !release)
        return QObject::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (watched == m_top) {
        if (press)
            TitleMouseDown(*mouse);
        else if (m_dragging && mouse->button() == Qt::LeftButton)
            m_dragging = false;
        return true;
    }
    if (watched == FMinimize) {
        if (press)
            MinimizeMouseDown(FMinimize, mouse->button());
        else
            MinimizeMouseUp(FMinimize, mouse->button());
        return true;
    }
    if (watched == FClose) {
        if (press)
            CloseMouseDown(FClose, mouse->button());
        else
            CloseMouseUp(FClose, mouse->button());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void TSkinMan::TitleMouseDown(const QMouseEvent& event)
{
    if (event.button() != Qt::LeftButton || event.position().y() >= skin::kDragRows || !m_window)
        return;
    QWindow* handle = m_window->windowHandle();
    if (!handle)
        return;
    if (!startSystemMove(handle)) {
        m_dragging = true;
        m_dragOffset = event.globalPosition().toPoint() - m_window->pos();
    }
}

void TSkinMan::MinimizeMouseDown(QLabel* sender, Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        DrawButton(sender, QStringLiteral("minimize"), QStringLiteral("down"));
}

void TSkinMan::MinimizeMouseUp(QLabel* sender, Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    DrawButton(sender, QStringLiteral("minimize"), QStringLiteral("up"));
    if (QWidget* window = sender->window())
        window->showMinimized();
}

void TSkinMan::CloseMouseDown(QLabel* sender, Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        DrawButton(sender, QStringLiteral("close"), QStringLiteral("down"));
}

void TSkinMan::CloseMouseUp(QLabel* sender, Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    DrawButton(sender, QStringLiteral("close"), QStringLiteral("up"));
    if (QWidget* window = sender->window())
        window->close();
}
