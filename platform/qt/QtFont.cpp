// Maps a drawing font onto the fonts this machine has.
#include "platform/qt/QtFont.h"

#include <QFontDatabase>
#include <QString>
#include <algorithm>

#include "platform/NumberFormat.h"

namespace platform {

namespace {

// The drawings were laid out on 96-dpi screens; a pixel size keeps their text the same size
// whatever dpi this screen reports.
constexpr double kScreenDpi = 96.0;
constexpr double kPointsPerInch = 72.0;

bool isMonospaceRequest(const QString& family) {
  return family.compare(QStringLiteral("Courier New"), Qt::CaseInsensitive) == 0 ||
         family.compare(QStringLiteral("Courier"), Qt::CaseInsensitive) == 0;
}

}  // namespace

QFont qtFontFor(const Font& font) {
  const QString family = QString::fromStdString(font.name);
  QFont result;
  if (QFontDatabase::hasFamily(family)) {
    result = QFont(family);
  } else if (isMonospaceRequest(family)) {
    // Rulers and columns of figures line up only in a fixed-pitch font.
    result = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  } else {
    result = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  }
  result.setPixelSize(std::max(1, saturatingRound(font.size * kScreenDpi / kPointsPerInch)));
  result.setBold(font.bold);
  return result;
}

}  // namespace platform
