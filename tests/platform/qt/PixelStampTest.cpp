// Texts and circle outlines that the Qt drawing surface repeats from the pixels it kept: pixel for
// pixel what Qt itself draws, wherever they land and whatever the font, colour or size.
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTest>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/PixelStamp.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtFont.h"

using platform::Brush;
using platform::BrushStyle;
using platform::Colour;
using platform::Font;
using platform::Pen;
using platform::PenMode;
using platform::PenStyle;
using platform::Point;
using platform::QtCanvas;
using platform::rgb;
using platform::Size;

namespace {

constexpr Colour kRed = rgb(255, 0, 0);
constexpr Colour kBlue = rgb(0, 0, 255);
constexpr Colour kYellow = rgb(255, 255, 0);
constexpr Size kSurface{72, 48};

// Top-left corners on the surface: the first one draws, the others repeat, some of them cut off
// by each of the four edges.
const std::vector<Point> kPlaces{{5, 4}, {30, 20}, {-4, -6}, {60, 40}, {-10, 30}, {50, -3}, {5, 4}};

QColor qColour(Colour colour) {
  return QColor(static_cast<int>(platform::redOf(colour)), static_cast<int>(platform::greenOf(colour)),
                static_cast<int>(platform::blueOf(colour)));
}

// The drawing Qt makes of a text or an ellipse on a white image of the surface's size, drawn as
// the surface drew every time before it kept pixels.
class QtDrawing {
 public:
  QtDrawing() : image_(kSurface.width, kSurface.height, QImage::Format_RGB32) { image_.fill(Qt::white); }

  void text(const Font& font, const Brush& brush, Point at, const QString& text) {
    QFont qtFont = platform::qtFontFor(font);
    qtFont.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(qtFont, &image_);
    QPainter painter(&image_);
    if (brush.style == BrushStyle::Solid) {
      painter.fillRect(QRect(at.x, at.y, metrics.horizontalAdvance(text), metrics.height()), qColour(brush.colour));
    }
    painter.setFont(qtFont);
    painter.setPen(qColour(font.colour));
    painter.drawText(QPoint(at.x, at.y + metrics.ascent()), text);
  }

  // The ellipse in the box (x1, y1) - (x2, y2), right and bottom exclusive, in a thin pen.
  void ellipse(Colour colour, PenStyle style, int x1, int y1, int x2, int y2) {
    QPen pen(qColour(colour));
    pen.setWidth(1);
    pen.setStyle(style == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    QPainter painter(&image_);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRect(QPoint(x1, y1), QPoint(x2 - 2, y2 - 2)));
  }

  const QImage& image() const { return image_; }

 private:
  QImage image_;
};

// The first pixel where two drawings differ, for the failure message; empty when they agree.
QString firstDifference(const QImage& actual, const QImage& expected) {
  if (actual.size() != expected.size()) return QStringLiteral("the images differ in size");
  for (int y = 0; y < actual.height(); ++y) {
    for (int x = 0; x < actual.width(); ++x) {
      if (actual.pixel(x, y) != expected.pixel(x, y)) {
        return QStringLiteral("pixel (%1, %2) is %3, Qt draws %4")
            .arg(x)
            .arg(y)
            .arg(actual.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
            .arg(expected.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'));
      }
    }
  }
  return {};
}

#define VERIFY_SAME_DRAWING(canvas, drawing)                                 \
  do {                                                                       \
    const QString difference = firstDifference((canvas).image(), (drawing)); \
    QVERIFY2(difference.isEmpty(), qPrintable(difference));                  \
  } while (false)

using Paint = std::function<void(QPainter&, QPoint)>;

}  // namespace

Q_DECLARE_METATYPE(platform::Brush)
Q_DECLARE_METATYPE(platform::Font)
Q_DECLARE_METATYPE(platform::PenStyle)
Q_DECLARE_METATYPE(Paint)

class PixelStampTest : public QObject {
  Q_OBJECT

 private slots:
  void textRepeatsAsQtDrawsIt_data() {
    QTest::addColumn<Font>("font");
    QTest::addColumn<Brush>("brush");
    QTest::addColumn<QString>("text");

    const Font rulerFont{"Courier New", 8, kRed, false};
    const Brush clear{kYellow, BrushStyle::Clear};
    const Brush solid{kYellow, BrushStyle::Solid};
    QTest::newRow("row number on white") << rulerFont << solid << QStringLiteral("9876");
    QTest::newRow("ruler label, clear brush") << rulerFont << clear << QStringLiteral("520.00");
    QTest::newRow("descender and capital") << Font{"DejaVu Sans", 10, kBlue, false} << clear << QStringLiteral("Hgj");
    QTest::newRow("bold serif") << Font{"DejaVu Serif", 12, kBlue, true} << solid << QStringLiteral("fi W");
    QTest::newRow("German letters") << Font{"DejaVu Sans", 9, kBlue, false} << clear
                                    << QStringLiteral("Größe ± 0,5 µm Ø 3");
    QTest::newRow("empty text") << rulerFont << solid << QString();
  }

  void textRepeatsAsQtDrawsIt() {
    QFETCH(Font, font);
    QFETCH(Brush, brush);
    QFETCH(QString, text);
    QtCanvas canvas(kSurface);
    canvas.setFont(font);
    canvas.setBrush(brush);
    QtDrawing qt;
    for (const Point& at : kPlaces) {
      canvas.textOut(at.x, at.y, text.toStdString());
      qt.text(font, brush, at, text);
    }
    VERIFY_SAME_DRAWING(canvas, qt.image());
  }

  // What was kept for a text holds for its font: the colour may change, the size may not, and a
  // bitmap replaced when the window is resized measures anew.
  void textFollowsColourSizeAndNewBitmap() {
    QtCanvas canvas(kSurface);
    QtDrawing qt;
    Font font{"Courier New", 8, kRed, false};
    const Brush brush{kYellow, BrushStyle::Clear};
    canvas.setBrush(brush);
    const auto both = [&](Point at, const char* text) {
      canvas.setFont(font);
      canvas.textOut(at.x, at.y, text);
      qt.text(font, brush, at, QString::fromUtf8(text));
    };
    both({2, 2}, "123");
    const Size small = canvas.textExtent("123");
    font.colour = kBlue;
    both({2, 16}, "123");
    font.size = 14;
    both({2, 26}, "123");
    const Size large = canvas.textExtent("123");
    QVERIFY(large.width > small.width && large.height > small.height);
    VERIFY_SAME_DRAWING(canvas, qt.image());

    font.size = 8;
    canvas.setFont(font);
    QCOMPARE(canvas.textExtent("123"), small);
    canvas.resize(kSurface);
    QtDrawing fresh;
    canvas.textOut(40, 5, "123");
    fresh.text(font, brush, {40, 5}, QStringLiteral("123"));
    VERIFY_SAME_DRAWING(canvas, fresh.image());
  }

  // More texts than are kept: the canvas forgets them all and starts again.
  void moreTextsThanKeptStillDrawRight() {
    QtCanvas canvas(kSurface);
    const Font font{"Courier New", 8, kRed, false};
    const Brush brush{kYellow, BrushStyle::Solid};
    canvas.setFont(font);
    canvas.setBrush(brush);
    canvas.textOut(3, 3, "17");
    const Size first = canvas.textExtent("17");
    for (int i = 0; i < 20000; ++i) canvas.textExtent(std::to_string(i) + "x");
    QCOMPARE(canvas.textExtent("17"), first);
    canvas.textOut(30, 20, "17");
    canvas.textOut(3, 30, "-4");
    QtDrawing qt;
    qt.text(font, brush, {3, 3}, QStringLiteral("17"));
    qt.text(font, brush, {30, 20}, QStringLiteral("17"));
    qt.text(font, brush, {3, 30}, QStringLiteral("-4"));
    VERIFY_SAME_DRAWING(canvas, qt.image());
  }

  void ellipseOutlinesRepeatAsQtDrawsThem_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<PenStyle>("style");
    // The box sizes, right and bottom exclusive, as the drawing gives them.
    QTest::newRow("row-number circle") << 21 << 21 << PenStyle::Solid;
    QTest::newRow("even circle") << 20 << 20 << PenStyle::Solid;
    QTest::newRow("flat ellipse") << 31 << 9 << PenStyle::Solid;
    QTest::newRow("tiny") << 3 << 2 << PenStyle::Solid;
    QTest::newRow("wider than 64 pixels") << 150 << 30 << PenStyle::Solid;
    QTest::newRow("larger than kept, Qt draws it") << 300 << 40 << PenStyle::Solid;
    QTest::newRow("dotted, Qt draws it") << 21 << 21 << PenStyle::Dot;
  }

  void ellipseOutlinesRepeatAsQtDrawsThem() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(PenStyle, style);
    QtCanvas canvas(kSurface);
    canvas.setBrush(Brush{kYellow, BrushStyle::Clear});
    QtDrawing qt;
    Colour colour = kRed;
    for (const Point& at : kPlaces) {
      canvas.setPen(Pen{colour, 1, style, PenMode::Copy});
      canvas.ellipse(at.x, at.y, at.x + width, at.y + height);
      qt.ellipse(colour, style, at.x, at.y, at.x + width, at.y + height);
      colour = colour == kRed ? kBlue : kRed;
    }
    VERIFY_SAME_DRAWING(canvas, qt.image());
  }

  void captureRefusesWhatItCannotRepeat_data() {
    QTest::addColumn<Paint>("paint");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<int>("pixels");

    QTest::newRow("aliased square") << Paint([](QPainter& p, QPoint at) {
      p.fillRect(QRect(at + QPoint(1, 1), QSize(3, 2)), Qt::black);
    }) << true << 6;
    QTest::newRow("nothing drawn") << Paint([](QPainter&, QPoint) {}) << true << 0;
    QTest::newRow("smoothed line") << Paint([](QPainter& p, QPoint at) {
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(QPen(Qt::black, 1));
      p.drawLine(QPointF(at) + QPointF(0.3, 0.2), QPointF(at) + QPointF(6.7, 3.1));
    }) << false << 0;
    QTest::newRow("grey") << Paint([](QPainter& p, QPoint at) { p.fillRect(QRect(at, QSize(2, 2)), Qt::gray); })
                          << false << 0;
    QTest::newRow("reaches the border") << Paint([](QPainter& p, QPoint at) {
      p.fillRect(QRect(at, QSize(12, 1)), Qt::black);
    }) << false << 0;
  }

  void captureRefusesWhatItCannotRepeat() {
    QFETCH(Paint, paint);
    QFETCH(bool, kept);
    QFETCH(int, pixels);
    // Two pixels of margin left and above the anchor, eight pixels wide and high in all.
    const std::optional<platform::PixelStamp> stamp = platform::PixelStamp::capture(QRect(-2, -2, 8, 8), paint);
    QCOMPARE(stamp.has_value(), kept);
    if (stamp) QCOMPARE(stamp->pixelCount(), pixels);
  }
};

QTEST_MAIN(PixelStampTest)
#include "PixelStampTest.moc"
