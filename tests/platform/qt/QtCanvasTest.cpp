// Pixel checks of the Qt drawing surface on small images, and its use from two threads at once.
#include <QColor>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QString>
#include <QTest>
#include <atomic>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtFont.h"
#include "support/RecordingCanvas.h"

using platform::Brush;
using platform::BrushStyle;
using platform::Canvas;
using platform::Colour;
using platform::Font;
using platform::Pen;
using platform::PenMode;
using platform::PenStyle;
using platform::Point;
using platform::QtCanvas;
using platform::Rect;
using platform::rgb;
using platform::Size;

namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;
constexpr Colour kRed = rgb(255, 0, 0);
constexpr Colour kGreen = rgb(0, 160, 0);
constexpr Colour kBlue = rgb(0, 0, 255);
constexpr Colour kYellow = rgb(255, 255, 0);

using Draw = std::function<void(Canvas&)>;
using ExpectedPixels = std::vector<std::pair<Point, Colour>>;

struct ArcCase {
  Rect box;
  Point startRay;
  Point endRay;
  std::vector<Point> drawn;
  std::vector<Point> notDrawn;
};

// The canvas most cases start from: white, a black one-pixel pen, a solid red brush.
void prepare(Canvas& canvas) {
  canvas.setPen(Pen{kBlack, 1, PenStyle::Solid, PenMode::Copy});
  canvas.setBrush(Brush{kRed, BrushStyle::Solid});
}

QString describe(Colour colour) { return QStringLiteral("0x%1").arg(colour, 6, 16, QLatin1Char('0')); }

void verifyPixels(QtCanvas& canvas, const ExpectedPixels& expected) {
  for (const auto& [point, colour] : expected) {
    const Colour actual = canvas.pixel(point.x, point.y);
    QVERIFY2(actual == colour, qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                                              .arg(point.x)
                                              .arg(point.y)
                                              .arg(describe(actual), describe(colour))));
  }
}

// Whether a pixel of `colour` lies within `reach` pixels (either axis) of `point`.
bool colourNear(const QImage& image, Point point, int reach, Colour colour) {
  const QRgb wanted = qRgb(static_cast<int>(platform::redOf(colour)), static_cast<int>(platform::greenOf(colour)),
                           static_cast<int>(platform::blueOf(colour)));
  for (int y = point.y - reach; y <= point.y + reach; ++y) {
    for (int x = point.x - reach; x <= point.x + reach; ++x) {
      if (image.valid(x, y) && image.pixel(x, y) == wanted) {
        return true;
      }
    }
  }
  return false;
}

// Distinct colours over `area`, so that a copy that lands off by one pixel shows.
void paintGradient(Canvas& canvas, const Rect& area) {
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      canvas.setPixel(x, y, rgb(static_cast<unsigned>(x * 16), static_cast<unsigned>(y * 16), 128));
    }
  }
}

}  // namespace

Q_DECLARE_METATYPE(Draw)
Q_DECLARE_METATYPE(ExpectedPixels)
Q_DECLARE_METATYPE(ArcCase)
Q_DECLARE_METATYPE(platform::Brush)
Q_DECLARE_METATYPE(platform::Font)
Q_DECLARE_METATYPE(platform::Rect)

class QtCanvasTest : public QObject {
  Q_OBJECT

 private slots:
  void shapes_data() {
    QTest::addColumn<Draw>("draw");
    QTest::addColumn<ExpectedPixels>("expected");

    QTest::newRow("line leaves out its end pixel") << Draw([](Canvas& c) {
      c.moveTo(2, 3);
      c.lineTo(9, 3);
    }) << ExpectedPixels{{{2, 3}, kBlack}, {{8, 3}, kBlack}, {{9, 3}, kWhite}, {{5, 4}, kWhite}};
    QTest::newRow("vertical line") << Draw([](Canvas& c) {
      c.moveTo(4, 1);
      c.lineTo(4, 8);
    }) << ExpectedPixels{{{4, 1}, kBlack}, {{4, 7}, kBlack}, {{4, 8}, kWhite}};
    QTest::newRow("diagonal line") << Draw([](Canvas& c) {
      c.moveTo(1, 1);
      c.lineTo(6, 6);
    }) << ExpectedPixels{{{1, 1}, kBlack}, {{5, 5}, kBlack}, {{6, 6}, kWhite}, {{2, 1}, kWhite}};
    QTest::newRow("next line starts at the pen position") << Draw([](Canvas& c) {
      c.moveTo(2, 2);
      c.lineTo(8, 2);
      c.lineTo(8, 9);
    }) << ExpectedPixels{{{2, 2}, kBlack}, {{8, 2}, kBlack}, {{8, 8}, kBlack}, {{8, 9}, kWhite}};
    QTest::newRow("rectangle: outline in the pen, inside in the brush, right and bottom exclusive")
        << Draw([](Canvas& c) { c.rectangle(2, 2, 9, 7); })
        << ExpectedPixels{{{2, 2}, kBlack}, {{8, 2}, kBlack}, {{2, 6}, kBlack}, {{8, 6}, kBlack}, {{5, 2}, kBlack},
                          {{3, 3}, kRed},   {{7, 5}, kRed},   {{9, 4}, kWhite}, {{5, 7}, kWhite}, {{1, 1}, kWhite}};
    QTest::newRow("rectangle given by its other corners")
        << Draw([](Canvas& c) { c.rectangle(9, 7, 2, 2); })
        << ExpectedPixels{{{2, 2}, kBlack}, {{8, 6}, kBlack}, {{5, 4}, kRed}, {{9, 4}, kWhite}, {{5, 7}, kWhite}};
    QTest::newRow("rectangle with a clear pen is all brush") << Draw([](Canvas& c) {
      c.setPen(Pen{kBlack, 1, PenStyle::Clear});
      c.rectangle(2, 2, 9, 7);
    }) << ExpectedPixels{{{2, 2}, kRed}, {{8, 6}, kRed}, {{9, 6}, kWhite}, {{8, 7}, kWhite}};
    QTest::newRow("rectangle with a clear brush is outline only") << Draw([](Canvas& c) {
      c.setBrush(Brush{kRed, BrushStyle::Clear});
      c.rectangle(2, 2, 9, 7);
    }) << ExpectedPixels{{{2, 2}, kBlack}, {{8, 6}, kBlack}, {{5, 4}, kWhite}, {{3, 3}, kWhite}};
    QTest::newRow("fillRect uses the brush only") << Draw([](Canvas& c) {
      c.fillRect(Rect{2, 2, 9, 7});
    }) << ExpectedPixels{{{2, 2}, kRed}, {{8, 6}, kRed}, {{9, 6}, kWhite}, {{8, 7}, kWhite}};
    QTest::newRow("fillRect with a clear brush draws nothing") << Draw([](Canvas& c) {
      c.setBrush(Brush{kRed, BrushStyle::Clear});
      c.fillRect(Rect{2, 2, 9, 7});
    }) << ExpectedPixels{{{2, 2}, kWhite}, {{5, 4}, kWhite}};
    QTest::newRow("ellipse touches its box, right and bottom exclusive")
        << Draw([](Canvas& c) { c.ellipse(1, 1, 12, 10); })
        << ExpectedPixels{{{1, 5}, kBlack},  {{11, 5}, kBlack}, {{6, 1}, kBlack}, {{6, 9}, kBlack},
                          {{12, 5}, kWhite}, {{6, 10}, kWhite}, {{1, 1}, kWhite}, {{6, 5}, kRed}};
    QTest::newRow("roundRect cuts its corners")
        << Draw([](Canvas& c) { c.roundRect(1, 1, 14, 12, 6, 6); })
        << ExpectedPixels{{{1, 1}, kWhite},  {{7, 1}, kBlack},  {{1, 6}, kBlack},  {{13, 6}, kBlack},
                          {{7, 11}, kBlack}, {{14, 6}, kWhite}, {{7, 12}, kWhite}, {{7, 6}, kRed}};
    QTest::newRow("polygon outlined and filled") << Draw([](Canvas& c) {
      c.polygon({{2, 2}, {13, 2}, {2, 13}});
    }) << ExpectedPixels{{{2, 2}, kBlack}, {{7, 2}, kBlack}, {{2, 7}, kBlack}, {{4, 4}, kRed}, {{12, 12}, kWhite}};
    QTest::newRow("NotXor rectangle inverts each pixel once") << Draw([](Canvas& c) {
      c.setPen(Pen{kBlack, 1, PenStyle::Solid, PenMode::NotXor});
      c.setBrush(Brush{kBlack, BrushStyle::Solid});
      c.rectangle(2, 2, 9, 7);
    }) << ExpectedPixels{{{2, 2}, kBlack}, {{5, 2}, kBlack}, {{2, 4}, kBlack}, {{8, 6}, kBlack},
                         {{3, 3}, kBlack}, {{5, 4}, kBlack}, {{9, 4}, kWhite}};
    QTest::newRow("NotXor pen inverts what it crosses") << Draw([](Canvas& c) {
      c.setBrush(Brush{kBlack, BrushStyle::Solid});
      c.fillRect(Rect{0, 4, 16, 8});
      c.setPen(Pen{kBlack, 1, PenStyle::Solid, PenMode::NotXor});
      c.moveTo(5, 0);
      c.lineTo(5, 12);
    }) << ExpectedPixels{{{5, 2}, kBlack}, {{5, 5}, kWhite}, {{5, 10}, kBlack}, {{6, 5}, kBlack}};
    QTest::newRow("setPixel") << Draw([](Canvas& c) { c.setPixel(3, 3, kGreen); })
                              << ExpectedPixels{{{3, 3}, kGreen}, {{4, 3}, kWhite}};
  }

  void shapes() {
    QFETCH(Draw, draw);
    QFETCH(ExpectedPixels, expected);
    QtCanvas canvas(Size{16, 16});
    prepare(canvas);
    draw(canvas);
    verifyPixels(canvas, expected);
  }

  void penPositionPersistsAcrossCalls() {
    QtCanvas canvas(Size{16, 16});
    canvas.moveTo(3, 4);
    QCOMPARE(canvas.penPos(), (Point{3, 4}));
    canvas.lineTo(7, 9);
    QCOMPARE(canvas.penPos(), (Point{7, 9}));
    canvas.rectangle(0, 0, 5, 5);
    canvas.arc(0, 0, 10, 10, 10, 5, 5, 0);
    canvas.textOut(1, 1, "x");
    QCOMPARE(canvas.penPos(), (Point{7, 9}));
  }

  void notXorDrawnTwiceRestoresThePicture() {
    QtCanvas canvas(Size{32, 32});
    prepare(canvas);
    canvas.fillRect(Rect{0, 0, 16, 32});
    paintGradient(canvas, Rect{16, 8, 28, 20});
    const QImage before = canvas.image();

    canvas.setPen(Pen{rgb(0x40, 0x80, 0xC0), 1, PenStyle::Solid, PenMode::NotXor});
    canvas.setBrush(Brush{kGreen, BrushStyle::Solid});
    const auto rubberBand = [&canvas] {
      canvas.rectangle(4, 4, 26, 22);
      canvas.moveTo(0, 31);
      canvas.lineTo(31, 0);
      canvas.ellipse(10, 10, 30, 30);
      canvas.polygon({{1, 1}, {20, 3}, {5, 25}});
    };
    rubberBand();
    QVERIFY(canvas.image() != before);
    rubberBand();
    QCOMPARE(canvas.image(), before);
  }

  void patternsLeaveGaps_data() {
    QTest::addColumn<Draw>("draw");
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<Rect>("area");

    QTest::newRow("DiagCross brush") << Draw([](Canvas& c) {
      c.setBrush(Brush{kRed, BrushStyle::DiagCross});
      c.fillRect(Rect{0, 0, 32, 16});
    }) << kRed << Rect{0, 0, 32, 16};
    for (const auto& row :
         {std::pair{"Dash pen", PenStyle::Dash}, std::pair{"Dot pen", PenStyle::Dot},
          std::pair{"DashDot pen", PenStyle::DashDot}, std::pair{"DashDotDot pen", PenStyle::DashDotDot}}) {
      const PenStyle style = row.second;
      QTest::newRow(row.first) << Draw([style](Canvas& c) {
        c.setPen(Pen{kBlue, 1, style});
        c.moveTo(0, 8);
        c.lineTo(32, 8);
      }) << kBlue << Rect{0, 8, 31, 9};
    }
  }

  void patternsLeaveGaps() {
    QFETCH(Draw, draw);
    QFETCH(Colour, colour);
    QFETCH(Rect, area);
    QtCanvas canvas(Size{32, 16});
    draw(canvas);
    int drawn = 0;
    int untouched = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        const Colour pixel = canvas.pixel(x, y);
        drawn += pixel == colour ? 1 : 0;
        untouched += pixel == kWhite ? 1 : 0;
      }
    }
    QVERIFY(drawn > 0);
    QVERIFY(untouched > 0);
    QCOMPARE(drawn + untouched, (area.right - area.left) * (area.bottom - area.top));
  }

  void colourByteOrder_data() {
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("0x0000FF is red") << Colour{0x0000FF} << QColor(255, 0, 0);
    QTest::newRow("0x00FF00 is green") << Colour{0x00FF00} << QColor(0, 255, 0);
    QTest::newRow("0xFF0000 is blue") << Colour{0xFF0000} << QColor(0, 0, 255);
    QTest::newRow("mixed") << rgb(0x12, 0x34, 0x56) << QColor(0x12, 0x34, 0x56);
  }

  void colourByteOrder() {
    QFETCH(Colour, colour);
    QFETCH(QColor, expected);
    QtCanvas canvas(Size{8, 8});
    canvas.setPixel(1, 1, colour);
    canvas.setBrush(Brush{colour, BrushStyle::Solid});
    canvas.fillRect(Rect{4, 4, 6, 6});
    canvas.setPen(Pen{colour, 1});
    canvas.moveTo(0, 7);
    canvas.lineTo(8, 7);
    const QImage image = canvas.image();
    QCOMPARE(image.pixelColor(1, 1), expected);
    QCOMPARE(image.pixelColor(4, 4), expected);
    QCOMPARE(image.pixelColor(3, 7), expected);
    QCOMPARE(canvas.pixel(1, 1), colour);
  }

  void textLiesWithinItsExtent_data() {
    QTest::addColumn<Brush>("brush");
    QTest::addColumn<Colour>("background");
    QTest::newRow("clear brush keeps the background") << Brush{kYellow, BrushStyle::Clear} << kWhite;
    QTest::newRow("solid brush fills behind the text") << Brush{kYellow, BrushStyle::Solid} << kYellow;
  }

  void textLiesWithinItsExtent() {
    QFETCH(Brush, brush);
    QFETCH(Colour, background);
    QtCanvas canvas(Size{64, 32});
    canvas.setFont(Font{"DejaVu Sans", 10, kBlue, false});
    canvas.setBrush(brush);
    const Size extent = canvas.textExtent("Hg");
    QVERIFY(extent.width > 0 && extent.height > 0);
    const int left = 5;
    const int top = 4;
    QVERIFY(left + extent.width < 64 && top + extent.height < 32);
    canvas.textOut(left, top, "Hg");

    int inked = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 64; ++x) {
        const Colour pixel = canvas.pixel(x, y);
        const bool inside = x >= left && x < left + extent.width && y >= top && y < top + extent.height;
        if (!inside) {
          QVERIFY2(pixel == kWhite, qPrintable(QStringLiteral("(%1, %2) outside the extent").arg(x).arg(y)));
        } else {
          // Aliased text: no blend of ink and background.
          QVERIFY2(pixel == kBlue || pixel == background, qPrintable(describe(pixel)));
          inked += pixel == kBlue ? 1 : 0;
        }
      }
    }
    QVERIFY(inked > 10);
  }

  void fontFallback_data() {
    QTest::addColumn<Font>("font");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("fixedPitch");
    QTest::addColumn<QString>("family");  // empty: whatever this machine falls back on

    QTest::newRow("Courier New falls back on a fixed font")
        << Font{"Courier New", 10, kBlack, false} << 13 << true << QString();
    QTest::newRow("courier, bold") << Font{"courier", 8, kBlack, true} << 11 << true << QString();
    QTest::newRow("Arial falls back on a proportional font")
        << Font{"Arial", 8, kBlack, false} << 11 << false << QString();
    QTest::newRow("a family this machine has is kept")
        << Font{"DejaVu Serif", 12, kBlack, true} << 16 << false << QStringLiteral("DejaVu Serif");
  }

  void fontFallback() {
    QFETCH(Font, font);
    QFETCH(int, pixelSize);
    QFETCH(bool, fixedPitch);
    QFETCH(QString, family);

    const QFont qtFont = platform::qtFontFor(font);
    QCOMPARE(qtFont.pixelSize(), pixelSize);
    QCOMPARE(qtFont.bold(), font.bold);
    if (!family.isEmpty()) {
      QCOMPARE(QFontInfo(qtFont).family(), family);
    }

    QtCanvas canvas(Size{8, 8});
    canvas.setFont(font);
    const int narrow = canvas.textExtent("iii").width;
    const int wide = canvas.textExtent("WWW").width;
    QVERIFY(narrow > 0);
    QCOMPARE(narrow == wide, fixedPitch);
  }

  void copyRectFromAnotherCanvas() {
    QtCanvas source(Size{16, 16});
    paintGradient(source, Rect{0, 0, 16, 16});
    QtCanvas target(Size{16, 16});

    target.copyRect(Rect{8, 8, 12, 12}, source, Rect{2, 3, 6, 7});
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) {
        QCOMPARE(target.pixel(8 + x, 8 + y), source.pixel(2 + x, 3 + y));
      }
    }
    QCOMPARE(target.pixel(12, 8), kWhite);
    QCOMPARE(target.pixel(8, 12), kWhite);
    QCOMPARE(target.pixel(7, 7), kWhite);

    // Twice the size: every source pixel becomes a 2x2 block.
    target.copyRect(Rect{0, 0, 8, 8}, source, Rect{2, 3, 6, 7});
    QCOMPARE(target.pixel(0, 0), source.pixel(2, 3));
    QCOMPARE(target.pixel(1, 1), source.pixel(2, 3));
    QCOMPARE(target.pixel(7, 7), source.pixel(5, 6));
  }

  void copyRectOntoItself() {
    QtCanvas canvas(Size{16, 16});
    paintGradient(canvas, Rect{0, 0, 16, 16});
    const QImage before = canvas.image();

    canvas.copyRect(Rect{3, 3, 9, 9}, canvas, Rect{1, 1, 7, 7});
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 6; ++x) {
        QCOMPARE(canvas.image().pixel(3 + x, 3 + y), before.pixel(1 + x, 1 + y));
      }
    }
    QCOMPARE(canvas.image().pixel(9, 9), before.pixel(9, 9));
  }

  void copyRectFromAnotherKindOfCanvas() {
    testsupport::RecordingCanvas source(Size{16, 16});
    source.setPixel(4, 5, kRed);
    source.setPixel(5, 5, kGreen);
    source.setPixel(4, 6, kBlue);
    QtCanvas target(Size{16, 16});

    target.copyRect(Rect{10, 10, 12, 12}, source, Rect{4, 5, 6, 7});
    verifyPixels(target, {{{10, 10}, kRed}, {{11, 10}, kGreen}, {{10, 11}, kBlue}, {{11, 11}, kWhite}});
  }

  void arcEndpoints_data() {
    QTest::addColumn<ArcCase>("arc");
    // A circle of radius 20 round (20, 20).
    const Rect circle{0, 0, 41, 41};
    QTest::newRow("east to north is the upper right quarter")
        << ArcCase{circle, {40, 20}, {20, 0}, {{40, 20}, {20, 0}, {34, 6}}, {{0, 20}, {20, 40}, {6, 34}, {34, 34}}};
    QTest::newRow("north to east goes the long way round")
        << ArcCase{circle, {20, 0}, {40, 20}, {{0, 20}, {20, 40}, {6, 6}, {34, 34}}, {{34, 6}}};
    QTest::newRow("far points on the rays count only for their direction")
        << ArcCase{circle, {100, 20}, {20, -50}, {{40, 20}, {20, 0}, {34, 6}}, {{0, 20}, {20, 40}}};
    QTest::newRow("one ray twice is the whole ellipse")
        << ArcCase{circle, {40, 20}, {40, 20}, {{40, 20}, {20, 0}, {0, 20}, {20, 40}}, {}};
    // An ellipse 60 by 30 round (30, 15): the rays at 45 and 135 degrees meet it at (30 +- 13.4,
    // 1.6); (51, 4) lies on it further round, where a parametric angle of 45 degrees would end.
    QTest::newRow("ellipse ends where the rays meet it")
        << ArcCase{Rect{0, 0, 61, 31}, {40, 5}, {20, 5}, {{43, 2}, {17, 2}, {30, 0}}, {{51, 4}, {9, 4}, {30, 30}}};
  }

  void arcEndpoints() {
    QFETCH(ArcCase, arc);
    QtCanvas canvas(Size{64, 48});
    prepare(canvas);
    canvas.arc(arc.box.left, arc.box.top, arc.box.right, arc.box.bottom, arc.startRay.x, arc.startRay.y, arc.endRay.x,
               arc.endRay.y);
    const QImage image = canvas.image();
    for (const Point& point : arc.drawn) {
      QVERIFY2(colourNear(image, point, 1, kBlack),
               qPrintable(QStringLiteral("nothing drawn near (%1, %2)").arg(point.x).arg(point.y)));
    }
    for (const Point& point : arc.notDrawn) {
      QVERIFY2(!colourNear(image, point, 2, kBlack),
               qPrintable(QStringLiteral("drawn near (%1, %2)").arg(point.x).arg(point.y)));
    }
    QVERIFY(!colourNear(image, Point{32, 24}, 40, kRed));  // an arc is never filled
  }

  void resizeGivesAWhiteImageAndKeepsTheState() {
    QtCanvas canvas(Size{8, 8});
    const Pen red{kRed, 2, PenStyle::Dash};
    canvas.setPen(red);
    canvas.fillRect(Rect{0, 0, 8, 8});
    canvas.moveTo(2, 3);
    canvas.setPixel(1, 1, kBlack);

    canvas.resize(Size{20, 10});
    QCOMPARE(canvas.size(), (Size{20, 10}));
    QCOMPARE(canvas.image().size(), QSize(20, 10));
    QCOMPARE(canvas.pixel(1, 1), kWhite);
    QCOMPARE(canvas.pixel(19, 9), kWhite);
    QCOMPARE(canvas.pen(), red);
    QCOMPARE(canvas.penPos(), (Point{2, 3}));

    canvas.resize(Size{-5, 4});
    QCOMPARE(canvas.size(), (Size{0, 0}));
    QVERIFY(canvas.image().isNull());
  }

  void outsideAndEmpty() {
    QtCanvas canvas(Size{8, 8});
    prepare(canvas);
    canvas.setPixel(-1, 0, kRed);
    canvas.setPixel(8, 0, kRed);
    QCOMPARE(canvas.pixel(-1, 0), QtCanvas::kNoColour);
    QCOMPARE(canvas.pixel(0, 8), QtCanvas::kNoColour);
    canvas.rectangle(3, 3, 3, 7);
    canvas.ellipse(2, 5, 6, 5);
    canvas.polygon({});
    canvas.copyRect(Rect{0, 0, 0, 4}, canvas, Rect{0, 0, 4, 4});
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        QCOMPARE(canvas.pixel(x, y), kWhite);
      }
    }

    // A window not laid out yet has no pixels; drawing on it does nothing.
    QtCanvas empty(Size{0, 0});
    prepare(empty);
    empty.moveTo(0, 0);
    empty.lineTo(5, 5);
    empty.rectangle(0, 0, 4, 4);
    empty.textOut(0, 0, "text");
    empty.copyRect(Rect{0, 0, 4, 4}, canvas, Rect{0, 0, 4, 4});
    QCOMPARE(empty.size(), (Size{0, 0}));
    QCOMPARE(empty.penPos(), (Point{5, 5}));
    QVERIFY(empty.image().isNull());
    QVERIFY(empty.textExtent("text").width > 0);
  }

  void workerDrawsWhileTheGuiThreadCopies() {
    QtCanvas canvas(Size{200, 150});
    canvas.setFont(Font{"Courier New", 9, kBlue, false});
    std::atomic<bool> done{false};
    std::thread worker([&canvas, &done] {
      for (int i = 0; i < 3000; ++i) {
        canvas.setPen(Pen{rgb(static_cast<unsigned>(i), static_cast<unsigned>(i / 7), 90), 1 + i % 3, PenStyle::Solid,
                          i % 5 == 0 ? PenMode::NotXor : PenMode::Copy});
        canvas.moveTo(i % 200, 0);
        canvas.lineTo(199 - i % 200, 149);
        if (i % 100 == 0) {
          canvas.textOut(i % 150, i % 120, "X 12.5");
          canvas.copyRect(Rect{0, 0, 50, 50}, canvas, Rect{100, 100, 150, 150});
        }
      }
      done = true;
    });
    int copies = 0;
    bool readsRight = true;
    while (!done) {
      const QImage image = canvas.image();
      readsRight = readsRight && image.size() == QSize(200, 150);
      readsRight = readsRight && canvas.textExtent("0.00").width > 0;
      // State the worker keeps changing, read here so that a missing lock shows as a race.
      readsRight = readsRight && canvas.pen().width >= 1 && canvas.penPos().x >= 0;
      ++copies;
    }
    worker.join();
    QVERIFY(readsRight);
    QVERIFY(copies > 0);
    QVERIFY(canvas.image() != QtCanvas(Size{200, 150}).image());
  }

  void canvasesCopyingFromEachOtherDoNotDeadlock() {
    QtCanvas first(Size{64, 64});
    QtCanvas second(Size{64, 64});
    paintGradient(first, Rect{0, 0, 16, 16});
    constexpr int kCopies = 2000;
    std::thread worker([&] {
      for (int i = 0; i < kCopies; ++i) {
        first.copyRect(Rect{32, 32, 48, 48}, second, Rect{0, 0, 16, 16});
      }
    });
    for (int i = 0; i < kCopies; ++i) {
      second.copyRect(Rect{0, 0, 16, 16}, first, Rect{0, 0, 16, 16});
    }
    worker.join();
    QCOMPARE(second.pixel(5, 5), first.pixel(5, 5));
  }
};

QTEST_MAIN(QtCanvasTest)
#include "QtCanvasTest.moc"
