// The frame's piece layout and caption button cells, computed without painting.
#include "app/SkinLayout.h"

#include <QTest>

using skin::Copy;
using skin::FrameImage;

Q_DECLARE_METATYPE(skin::FrameImage)
Q_DECLARE_METATYPE(skin::Copy)

namespace {
// Columns and rows of the frame bitmap that hold pictures; everything else is guide lines.
const QVector<QPair<int, int>> kTitleColumns = {{0, 8},     {10, 125},  {127, 189},
                                                {191, 316}, {318, 427}, {429, 442}};
const QVector<QPair<int, int>> kBottomColumns = {{0, 125}, {127, 316}, {318, 442}};

bool insideOneOf(const QRect& source, const QVector<QPair<int, int>>& columns)
{
    for (const auto& c : columns) {
        if (source.left() >= c.first && source.right() <= c.second)
            return true;
    }
    return false;
}
} // namespace

class TestSkinLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pieces_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("index");
        QTest::addColumn<FrameImage>("image");
        QTest::addColumn<QRect>("target");
        QTest::addColumn<QRect>("source");
        QTest::addColumn<Copy>("copy");

        // The main window: d1 = 225, d2 = 226, both stretch sections take their whole source.
        QTest::newRow("700 left corner")
            << 700 << 525 << 0 << FrameImage::Top << QRect(0, 0, 9, 36) << QRect(0, 0, 9, 36) << Copy::Plain;
        QTest::newRow("700 left section") << 700 << 525 << 1 << FrameImage::Top << QRect(9, 0, 116, 36)
                                          << QRect(10, 0, 116, 36) << Copy::Plain;
        QTest::newRow("700 first stretch") << 700 << 525 << 2 << FrameImage::Top << QRect(125, 0, 225, 36)
                                           << QRect(127, 0, 63, 36) << Copy::Stretched;
        QTest::newRow("700 second stretch") << 700 << 525 << 3 << FrameImage::Top << QRect(350, 0, 226, 36)
                                            << QRect(191, 0, 126, 36) << Copy::Stretched;
        QTest::newRow("700 right section") << 700 << 525 << 4 << FrameImage::Top << QRect(576, 0, 110, 36)
                                           << QRect(318, 0, 110, 36) << Copy::Plain;
        QTest::newRow("700 right corner") << 700 << 525 << 5 << FrameImage::Top << QRect(686, 0, 14, 36)
                                          << QRect(429, 0, 14, 36) << Copy::Plain;
        QTest::newRow("700 left edge") << 700 << 525 << 6 << FrameImage::Left << QRect(0, 0, 2, 483)
                                       << QRect(0, 37, 2, 12) << Copy::Stretched;
        QTest::newRow("700 right edge") << 700 << 525 << 7 << FrameImage::Right << QRect(0, 0, 2, 483)
                                        << QRect(441, 37, 2, 12) << Copy::Stretched;
        QTest::newRow("700 bottom left") << 700 << 525 << 8 << FrameImage::Bottom << QRect(0, 0, 126, 6)
                                         << QRect(0, 50, 126, 6) << Copy::Plain;
        QTest::newRow("700 bottom stretch") << 700 << 525 << 9 << FrameImage::Bottom << QRect(126, 0, 449, 6)
                                            << QRect(127, 50, 190, 6) << Copy::Stretched;
        QTest::newRow("700 bottom right") << 700 << 525 << 10 << FrameImage::Bottom << QRect(575, 0, 125, 6)
                                          << QRect(318, 50, 125, 6) << Copy::Plain;

        // The smallest window: one column of each stretch source, at the ends that meet the fixed pieces.
        QTest::newRow("251 first stretch") << 251 << 189 << 2 << FrameImage::Top << QRect(125, 0, 1, 36)
                                           << QRect(127, 0, 1, 36) << Copy::Stretched;
        QTest::newRow("251 second stretch") << 251 << 189 << 3 << FrameImage::Top << QRect(126, 0, 1, 36)
                                            << QRect(316, 0, 1, 36) << Copy::Stretched;
        QTest::newRow("251 right section") << 251 << 189 << 4 << FrameImage::Top << QRect(127, 0, 110, 36)
                                           << QRect(318, 0, 110, 36) << Copy::Plain;
        QTest::newRow("251 left edge") << 251 << 189 << 6 << FrameImage::Left << QRect(0, 0, 2, 147)
                                       << QRect(0, 37, 2, 12) << Copy::Stretched;
        QTest::newRow("251 bottom stretch") << 251 << 189 << 9 << FrameImage::Bottom << QRect(126, 0, 0, 6)
                                            << QRect(127, 50, 0, 6) << Copy::Stretched;
        QTest::newRow("251 bottom right") << 251 << 189 << 10 << FrameImage::Bottom << QRect(126, 0, 125, 6)
                                          << QRect(318, 50, 125, 6) << Copy::Plain;

        // Narrow sections take part of their source; from the widths where they fit, all of it.
        QTest::newRow("252 second stretch") << 252 << 189 << 3 << FrameImage::Top << QRect(126, 0, 2, 36)
                                            << QRect(315, 0, 2, 36) << Copy::Stretched;
        QTest::newRow("374 first stretch") << 374 << 300 << 2 << FrameImage::Top << QRect(125, 0, 62, 36)
                                           << QRect(127, 0, 62, 36) << Copy::Stretched;
        QTest::newRow("375 first stretch") << 375 << 300 << 2 << FrameImage::Top << QRect(125, 0, 63, 36)
                                           << QRect(127, 0, 63, 36) << Copy::Stretched;
        QTest::newRow("377 first stretch") << 377 << 300 << 2 << FrameImage::Top << QRect(125, 0, 64, 36)
                                           << QRect(127, 0, 63, 36) << Copy::Stretched;
        QTest::newRow("377 second stretch") << 377 << 300 << 3 << FrameImage::Top << QRect(189, 0, 64, 36)
                                            << QRect(253, 0, 64, 36) << Copy::Stretched;
        QTest::newRow("500 second stretch") << 500 << 300 << 3 << FrameImage::Top << QRect(250, 0, 126, 36)
                                            << QRect(191, 0, 126, 36) << Copy::Stretched;
        QTest::newRow("502 second stretch") << 502 << 300 << 3 << FrameImage::Top << QRect(251, 0, 127, 36)
                                            << QRect(191, 0, 126, 36) << Copy::Stretched;
        QTest::newRow("440 bottom stretch") << 440 << 300 << 9 << FrameImage::Bottom << QRect(126, 0, 189, 6)
                                            << QRect(127, 50, 189, 6) << Copy::Stretched;
        QTest::newRow("442 bottom stretch") << 442 << 300 << 9 << FrameImage::Bottom << QRect(126, 0, 191, 6)
                                            << QRect(127, 50, 190, 6) << Copy::Stretched;
    }

    void pieces()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, index);
        const QVector<skin::Piece> pieces = skin::FramePieces(width, height);
        QCOMPARE(pieces.size(), 11);
        const skin::Piece& p = pieces.at(index);
        QTEST(p.image, "image");
        QTEST(p.target, "target");
        QTEST(p.source, "source");
        QTEST(p.copy, "copy");
    }

    // For every accepted width the pieces tile each image without gaps or overlaps, plain pieces keep
    // their size, and no source reaches into a guide column or row.
    void piecesTileTheFrame_data()
    {
        QTest::addColumn<int>("height");
        QTest::newRow("smallest") << 189;
        QTest::newRow("main window") << 525;
        QTest::newRow("tall") << 1200;
    }

    void piecesTileTheFrame()
    {
        QFETCH(int, height);
        for (int width = skin::kMinWidth; width <= 1400; ++width) {
            const QString where = QStringLiteral("width %1").arg(width);
            QVector<int> nextX(4, 0);
            for (const skin::Piece& p : skin::FramePieces(width, height)) {
                const int i = static_cast<int>(p.image);
                QVERIFY2(p.target.left() == nextX[i], qPrintable(where));
                nextX[i] = p.target.left() + p.target.width();
                if (p.copy == Copy::Plain)
                    QCOMPARE(p.target.size(), p.source.size());
                if (p.target.width() > 0)
                    QVERIFY2(p.source.width() > 0, qPrintable(where));
                switch (p.image) {
                case FrameImage::Top:
                    QVERIFY2(p.source.top() == 0 && p.source.height() == 36, qPrintable(where));
                    QVERIFY2(p.target.height() == 36, qPrintable(where));
                    QVERIFY2(insideOneOf(p.source, kTitleColumns), qPrintable(where));
                    break;
                case FrameImage::Left:
                case FrameImage::Right:
                    QVERIFY2(p.source.top() == 37 && p.source.bottom() == 48, qPrintable(where));
                    QVERIFY2(p.target.height() == height - 42, qPrintable(where));
                    break;
                case FrameImage::Bottom:
                    QVERIFY2(p.source.top() == 50 && p.source.bottom() == 55, qPrintable(where));
                    QVERIFY2(p.source.width() == 0 || insideOneOf(p.source, kBottomColumns),
                             qPrintable(where));
                    break;
                }
            }
            QVERIFY2(nextX == QVector<int>({width, 2, 2, width}), qPrintable(where));
        }
    }

    void tooSmallGivesNoPieces_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("fits");
        QTest::newRow("smallest") << 251 << 189 << true;
        QTest::newRow("one too narrow") << 250 << 525 << false;
        QTest::newRow("one too low") << 700 << 188 << false;
        QTest::newRow("empty") << 0 << 0 << false;
        QTest::newRow("negative") << -700 << 525 << false;
    }

    void tooSmallGivesNoPieces()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, fits);
        QCOMPARE(skin::FrameFits(width, height), fits);
        QCOMPARE(skin::FramePieces(width, height).isEmpty(), !fits);
    }

    void buttonCell_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QRect>("cell");
        const QRect none;
        QTest::newRow("minimize up") << "minimize"
                                     << "up" << QRect(0, 0, 20, 20);
        QTest::newRow("minimize down") << "minimize"
                                       << "down" << QRect(20, 0, 20, 20);
        QTest::newRow("close up") << "close"
                                  << "up" << QRect(60, 0, 20, 20);
        QTest::newRow("close down") << "close"
                                    << "down" << QRect(80, 0, 20, 20);
        QTest::newRow("upper case") << "CLOSE"
                                    << "DOWN" << QRect(80, 0, 20, 20);
        QTest::newRow("mixed case") << "MiNiMiZe"
                                    << "Up" << QRect(0, 0, 20, 20);
        QTest::newRow("unknown name") << "maximize"
                                      << "up" << none;
        QTest::newRow("unknown state") << "close"
                                       << "pressed" << none;
        QTest::newRow("swapped") << "up"
                                 << "close" << none;
        QTest::newRow("padded name") << " close"
                                     << "up" << none;
        QTest::newRow("empty") << ""
                               << "" << none;
    }

    void buttonCell()
    {
        QFETCH(QString, name);
        QFETCH(QString, state);
        QTEST(skin::ButtonCell(name, state), "cell");
    }
};

QTEST_GUILESS_MAIN(TestSkinLayout)
#include "tst_skinlayout.moc"
