// The painted window frame: what it sets up on a frameless window, what it leaves alone, its caption
// buttons, moving by the title bar, and the main window wearing it.
#include "app/MainForm.h"
#include "app/SkinClass.h"
#include "app/SkinLayout.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <memory>

namespace {

// A window laid out like the main window's frame: four panels with one image each, and a centre.
struct FrameWindow {
    std::unique_ptr<QWidget> window;
    QFrame* pnlTop;
    QFrame* pnlLeft;
    QFrame* pnlRight;
    QFrame* pnlBottom;
    QFrame* pnlCenter;
    QLabel* imgTop;
    QLabel* imgLeft;
    QLabel* imgRight;
    QLabel* imgBottom;

    FrameWindow(QSize size, bool frameless, const QString& caption = QStringLiteral("Test window"))
    {
        window.reset(new QWidget(nullptr, frameless ? Qt::Window | Qt::FramelessWindowHint : Qt::Window));
        window->resize(size);
        window->setWindowTitle(caption);
        // Deliberately not the frame's sizes yet: the frame sets them.
        auto panel = [this](const QRect& r) {
            auto* p = new QFrame(window.get());
            p->setGeometry(r);
            return p;
        };
        auto image = [](QFrame* p) {
            auto* l = new QLabel(p);
            l->setGeometry(0, 0, 5, 5);
            return l;
        };
        pnlTop = panel(QRect(0, 0, 50, 20));
        pnlLeft = panel(QRect(0, 20, 10, 50));
        pnlRight = panel(QRect(60, 20, 10, 50));
        pnlBottom = panel(QRect(0, 70, 50, 10));
        pnlCenter = panel(QRect(10, 20, 50, 50));
        imgTop = image(pnlTop);
        imgLeft = image(pnlLeft);
        imgRight = image(pnlRight);
        imgBottom = image(pnlBottom);
    }

    std::unique_ptr<TSkinMan> skin()
    {
        return std::make_unique<TSkinMan>(imgLeft, imgTop, imgRight, imgBottom, pnlCenter);
    }

    QLabel* image(skin::FrameImage which) const
    {
        switch (which) {
        case skin::FrameImage::Top:
            return imgTop;
        case skin::FrameImage::Left:
            return imgLeft;
        case skin::FrameImage::Right:
            return imgRight;
        case skin::FrameImage::Bottom:
            return imgBottom;
        }
        return nullptr;
    }
};

QImage cellImage(const QString& name, const QString& state)
{
    QImage cell = QImage(QStringLiteral(":/RES_TITLE")).copy(skin::ButtonCell(name, state));
    cell = cell.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            if (cell.pixel(x, y) == qRgb(255, 0, 255))
                cell.setPixel(x, y, 0);
    return cell;
}

QImage shown(const QLabel* label)
{
    return label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}

// A press or release at a point of the window, delivered the way the window system delivers it,
// so the press's widget keeps the mouse until the release.
void windowMouse(QWidget* window, bool press, Qt::MouseButton button, QPoint at)
{
    if (press)
        QTest::mousePress(window->windowHandle(), button, {}, at);
    else
        QTest::mouseRelease(window->windowHandle(), button, {}, at);
}

} // namespace

class TestSkinClass : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        testenv::init();
        for (const char* name : {"RES_FORM", "RES_TITLE", "RES_ICON"}) {
            const QImage bitmap(QStringLiteral(":/") + QLatin1String(name));
            QVERIFY2(!bitmap.isNull(), name);
            QCOMPARE(bitmap.depth(), 32); // read back from 24-bit files as RGB32
        }
        QCOMPARE(QImage(QStringLiteral(":/RES_FORM")).size(), QSize(443, 56));
        QCOMPARE(QImage(QStringLiteral(":/RES_TITLE")).size(), QSize(120, 20));
        QCOMPARE(QImage(QStringLiteral(":/RES_ICON")).size(), QSize(17, 13));
    }

    void framelessWindowIsSkinned_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("smallest") << QSize(251, 189);
        QTest::newRow("narrow stretch") << QSize(300, 200);
        QTest::newRow("main window size") << QSize(700, 525);
        QTest::newRow("large") << QSize(1024, 768);
    }

    void framelessWindowIsSkinned()
    {
        QFETCH(QSize, size);
        const int w = size.width();
        const int h = size.height();
        FrameWindow f(size, true);
        auto skin = f.skin();

        QCOMPARE(f.pnlTop->geometry(), QRect(0, 0, w, 36));
        QCOMPARE(f.pnlLeft->geometry(), QRect(0, 36, 2, h - 42));
        QCOMPARE(f.pnlRight->geometry(), QRect(w - 2, 36, 2, h - 42));
        QCOMPARE(f.pnlBottom->geometry(), QRect(0, h - 6, w, 6));
        QCOMPARE(f.pnlCenter->geometry(), QRect(2, 36, w - 4, h - 42));
        for (QLabel* image : {f.imgTop, f.imgLeft, f.imgRight, f.imgBottom}) {
            QCOMPARE(image->size(), image->parentWidget()->size());
            QCOMPARE(image->pixmap().size(), image->size());
        }
        QVERIFY(f.pnlCenter->autoFillBackground());
        QCOMPARE(f.pnlCenter->palette().color(QPalette::Window), QColor(240, 240, 240));
        QCOMPARE(f.window->mask(), QRegion(0, 0, w, h));

        // Every piece is the frame bitmap's rectangle, copied pixel for pixel or stretched without
        // smoothing; nothing of the guide lines between the pieces shows.
        const QImage form = QImage(QStringLiteral(":/RES_FORM")).convertToFormat(QImage::Format_ARGB32);
        const QRgb guide = form.pixel(9, 0);
        for (const skin::Piece& p : skin::FramePieces(w, h)) {
            if (p.target.isEmpty())
                continue;
            const QImage painted = shown(f.image(p.image)).copy(p.target);
            const QImage expected =
                form.copy(p.source).scaled(p.target.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
            QVERIFY2(painted == expected, qPrintable(QStringLiteral("piece at %1,%2 of image %3")
                                                         .arg(p.target.x())
                                                         .arg(p.target.y())
                                                         .arg(int(p.image))));
        }
        for (QLabel* image : {f.imgTop, f.imgLeft, f.imgRight, f.imgBottom}) {
            const QImage painted = shown(image);
            for (int y = 0; y < painted.height(); ++y)
                for (int x = 0; x < painted.width(); ++x)
                    QVERIFY2(painted.pixel(x, y) == (painted.pixel(x, y) | 0xff000000u) &&
                                 painted.pixel(x, y) != guide,
                             qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }

        QVERIFY(skin->FIcon && skin->FTitle && skin->FMinimize && skin->FClose);
        QCOMPARE(skin->FIcon->geometry(), QRect(10, 11, 17, 13));
        QCOMPARE(skin->FIcon->parentWidget(), f.pnlTop);
        // The picture's white background is see-through, the rest shows as it is.
        const QImage icon = shown(skin->FIcon);
        const QImage iconBitmap(QStringLiteral(":/RES_ICON"));
        int clear = 0;
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 17; ++x) {
                const bool white = iconBitmap.pixel(x, y) == qRgb(255, 255, 255);
                clear += white;
                QCOMPARE(icon.pixel(x, y), white ? 0u : iconBitmap.pixel(x, y));
            }
        QVERIFY(clear > 0 && clear < 17 * 13 / 2);
        QCOMPARE(skin->FClose->geometry(), QRect(w - 30, 8, 20, 20));
        QCOMPARE(skin->FMinimize->geometry(), QRect(w - 51, 8, 20, 20));
        QCOMPARE(skin->FClose->toolTip(), QStringLiteral("Close"));
        QCOMPARE(skin->FMinimize->toolTip(), QStringLiteral("Minimize"));
        QCOMPARE(shown(skin->FClose), cellImage(QStringLiteral("close"), QStringLiteral("up")));
        QCOMPARE(shown(skin->FMinimize), cellImage(QStringLiteral("minimize"), QStringLiteral("up")));
        // The buttons and the caption lie above the bar image.
        const QObjectList order = f.pnlTop->children();
        QVERIFY(order.indexOf(f.imgTop) < order.indexOf(skin->FIcon));
        QVERIFY(order.indexOf(skin->FTitle) < order.indexOf(skin->FClose));
        QCOMPARE(order.last(), skin->FMinimize.data());
    }

    void borderedOrSmallWindowIsLeftAlone_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("frameless");
        QTest::newRow("with a border") << QSize(700, 525) << false;
        QTest::newRow("one too narrow") << QSize(250, 525) << true;
        QTest::newRow("one too low") << QSize(700, 188) << true;
    }

    void borderedOrSmallWindowIsLeftAlone()
    {
        QFETCH(QSize, size);
        QFETCH(bool, frameless);
        FrameWindow f(size, frameless);
        const QList<QWidget*> panels = {f.pnlTop, f.pnlLeft, f.pnlRight, f.pnlBottom, f.pnlCenter};
        QList<QRect> before;
        for (QWidget* p : panels)
            before << p->geometry();
        const int children = f.pnlTop->children().size();
        int moves = 0;
        {
            auto skin = f.skin();
            skin->startSystemMove = [&moves](QWindow*) { return ++moves, true; };
            QVERIFY(!skin->FIcon && !skin->FTitle && !skin->FMinimize && !skin->FClose);
            f.window->show();
            QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
            windowMouse(f.window.get(), true, Qt::LeftButton, QPoint(2, 2));
            windowMouse(f.window.get(), false, Qt::LeftButton, QPoint(2, 2));
            QCOMPARE(moves, 0);
            for (int i = 0; i < panels.size(); ++i)
                QCOMPARE(panels[i]->geometry(), before[i]);
            for (QLabel* image : {f.imgTop, f.imgLeft, f.imgRight, f.imgBottom}) {
                QCOMPARE(image->size(), QSize(5, 5));
                QVERIFY(image->pixmap().isNull());
            }
            QCOMPARE(f.pnlTop->children().size(), children);
            QVERIFY(!f.pnlCenter->autoFillBackground());
            QVERIFY(f.window->mask().isEmpty());
        }
        QCOMPARE(f.pnlTop->children().size(), children);
        QVERIFY(f.window->isVisible());
    }

    // A left press shows the pressed cell; the release, wherever the pointer then is, shows the normal
    // cell and runs the command. The right button does nothing at all.
    void captionButtons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("releaseAt"); // relative to the button
        QTest::newRow("close, released on it") << "close" << Qt::LeftButton << QPoint(10, 10);
        QTest::newRow("close, released outside") << "close" << Qt::LeftButton << QPoint(-300, 200);
        QTest::newRow("close, right button") << "close" << Qt::RightButton << QPoint(10, 10);
        QTest::newRow("minimize, released on it") << "minimize" << Qt::LeftButton << QPoint(10, 10);
        QTest::newRow("minimize, released outside") << "minimize" << Qt::LeftButton << QPoint(15, 150);
        QTest::newRow("minimize, right button") << "minimize" << Qt::RightButton << QPoint(10, 10);
    }

    void captionButtons()
    {
        QFETCH(QString, name);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, releaseAt);
        FrameWindow f(QSize(400, 300), true);
        auto skin = f.skin();
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QLabel* target = name == QLatin1String("close") ? skin->FClose.data() : skin->FMinimize.data();
        const QPoint origin = target->mapTo(f.window.get(), QPoint(0, 0));
        const bool left = button == Qt::LeftButton;

        windowMouse(f.window.get(), true, button, origin + QPoint(10, 10));
        QCOMPARE(shown(target), cellImage(name, left ? QStringLiteral("down") : QStringLiteral("up")));
        QVERIFY(f.window->isVisible());
        QVERIFY(!f.window->isMinimized());

        windowMouse(f.window.get(), false, button, origin + releaseAt);
        QCOMPARE(shown(target), cellImage(name, QStringLiteral("up")));
        if (name == QLatin1String("close")) {
            QCOMPARE(f.window->isVisible(), !left);
            QVERIFY(!f.window->isMinimized());
        } else {
            QCOMPARE(f.window->isMinimized(), left);
            QVERIFY(f.window->isVisible());
        }
    }

    void titleBarMovesTheWindow_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("y");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("moves");
        QTest::newRow("top row") << "bar" << 0 << Qt::LeftButton << 1;
        QTest::newRow("last row that moves") << "bar" << 31 << Qt::LeftButton << 1;
        QTest::newRow("first row that does not") << "bar" << 32 << Qt::LeftButton << 0;
        QTest::newRow("bottom row") << "bar" << 35 << Qt::LeftButton << 0;
        QTest::newRow("right button") << "bar" << 10 << Qt::RightButton << 0;
        QTest::newRow("on the picture") << "icon" << 17 << Qt::LeftButton << 0;
        QTest::newRow("on the caption") << "title" << 18 << Qt::LeftButton << 0;
        QTest::newRow("on the close button") << "close" << 18 << Qt::LeftButton << 0;
    }

    void titleBarMovesTheWindow()
    {
        QFETCH(QString, where);
        QFETCH(int, y);
        QFETCH(Qt::MouseButton, button);
        FrameWindow f(QSize(400, 300), true);
        auto skin = f.skin();
        int moves = 0;
        skin->startSystemMove = [&moves, &f](QWindow* w) {
            if (w == f.window->windowHandle())
                ++moves;
            return true;
        };
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        int x = 200;
        if (where == QLatin1String("icon"))
            x = skin->FIcon->geometry().center().x();
        else if (where == QLatin1String("title"))
            x = skin->FTitle->geometry().center().x();
        else if (where == QLatin1String("close"))
            x = skin->FClose->geometry().center().x();
        windowMouse(f.window.get(), true, button, QPoint(x, y));
        QTEST(moves, "moves");
        windowMouse(f.window.get(), false, button, QPoint(x, y));
    }

    // Where the system cannot move the window, the window follows the pointer while the left button
    // that pressed the bar is held.
    void titleBarDragWithoutSystemMove_data()
    {
        QTest::addColumn<int>("y");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("moved");
        QTest::newRow("left button on the bar") << 10 << Qt::LeftButton << QPoint(40, 25);
        QTest::newRow("below the rows that move") << 33 << Qt::LeftButton << QPoint(0, 0);
        QTest::newRow("right button") << 10 << Qt::RightButton << QPoint(0, 0);
    }

    void titleBarDragWithoutSystemMove()
    {
        QFETCH(int, y);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, moved);
        FrameWindow f(QSize(400, 300), true);
        auto skin = f.skin();
        skin->startSystemMove = [](QWindow*) { return false; };
        f.window->move(100, 100);
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const QPoint start = f.window->pos();
        QWindow* handle = f.window->windowHandle();
        QTest::mousePress(handle, button, {}, QPoint(200, y));
        QTest::mouseMove(handle, QPoint(240, y + 25));
        QCOMPARE(f.window->pos(), start + moved);
        QTest::mouseRelease(handle, button, {}, QPoint(240, y + 25));
        // Released: the pointer no longer carries the window.
        const QPoint after = f.window->pos();
        QTest::mouseMove(handle, QPoint(100, 100));
        QCOMPARE(f.window->pos(), after);
    }

    void captionLabel_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("fits");
        QTest::newRow("plain") << "Zendrel - 用户名称：anna" << true;
        QTest::newRow("markup shown as typed") << "<b>x</b> &amp; 名" << true;
        QTest::newRow("too long for the bar") << QString(80, QLatin1Char('W')) << false;
    }

    void captionLabel()
    {
        QFETCH(QString, caption);
        QFETCH(bool, fits);
        FrameWindow f(QSize(400, 300), true, caption);
        auto skin = f.skin();
        f.window->setWindowTitle(QStringLiteral("changed later"));
        QLabel* title = skin->FTitle;
        QCOMPARE(title->textFormat(), Qt::PlainText);
        QVERIFY(title->font().bold());
        QCOMPARE(title->palette().color(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(title->x(), 10 + 17 + 5);
        QCOMPARE(title->y(), (36 - title->height()) / 2);
        QVERIFY(title->height() >= title->fontMetrics().height());
        QVERIFY(title->geometry().right() < skin->FMinimize->x());
        if (fits) {
            QCOMPARE(title->text(), caption);
            QVERIFY(title->toolTip().isEmpty());
        } else {
            QVERIFY(title->text().endsWith(QChar(0x2026)));
            QVERIFY(caption.startsWith(title->text().chopped(1)));
            QCOMPARE(title->toolTip(), caption);
        }
    }

    void destroyingFreesWhatItMade()
    {
        FrameWindow f(QSize(400, 300), true);
        const int children = f.pnlTop->children().size();
        auto skin = f.skin();
        QCOMPARE(f.pnlTop->children().size(), children + 4);
        const QPointer<QLabel> made[] = {skin->FIcon, skin->FTitle, skin->FMinimize, skin->FClose};
        skin.reset();
        for (const QPointer<QLabel>& control : made)
            QVERIFY(control.isNull());
        QCOMPARE(f.pnlTop->children().size(), children);
        // The painted frame stays: it belongs to the window's images.
        QVERIFY(!f.imgTop->pixmap().isNull());
    }

    void mainWindowWearsTheFrame_data()
    {
        QTest::addColumn<QString>("user");
        QTest::newRow("plain name") << "anna";
        QTest::newRow("name with markup") << "<b>x</b>";
    }

    void mainWindowWearsTheFrame()
    {
        QFETCH(QString, user);
        QTemporaryDir dir;
        auto m = fixtures::openMain(fixtures::freshLedger(dir.path()), user);
        TfrmMain& w = *m->window;
        QVERIFY(w.FSkin);
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        TSkinMan& skin = *w.FSkin;
        QCOMPARE(skin.FTitle->text(), QStringLiteral("Zendrel - 用户名称：") + user);
        QCOMPARE(skin.FTitle->parentWidget(), w.pnlTop);
        QCOMPARE(skin.FIcon->pos(), QPoint(10, 11));
        QCOMPARE(skin.FClose->pos(), QPoint(670, 8));
        QCOMPARE(skin.FMinimize->pos(), QPoint(649, 8));
        QCOMPARE(w.pnlCenter->geometry(), QRect(2, 36, 696, 483));
        QCOMPARE(w.mask(), QRegion(0, 0, 700, 525));

        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // Screenshots for looking at the frame, when asked for.
        const QString shots = qEnvironmentVariable("ZENDREL_SCREENSHOTS");
        const QImage shot = w.grab().toImage();
        if (!shots.isEmpty())
            shot.save(QDir(shots).filePath(QStringLiteral("main-window.png")));
        // A dark bar above the light page bar.
        QVERIFY(qGray(shot.pixel(300, 20)) < 90);
        QVERIFY(qGray(shot.pixel(300, 40)) > 200);

        const QPoint close = skin.FClose->mapTo(&w, QPoint(10, 10));
        windowMouse(&w, true, Qt::LeftButton, close);
        if (!shots.isEmpty())
            w.grab().save(QDir(shots).filePath(QStringLiteral("main-window-close-pressed.png")));
        QVERIFY(w.isVisible());
        windowMouse(&w, false, Qt::LeftButton, close);
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TestSkinClass)
#include "tst_skinclass.moc"
