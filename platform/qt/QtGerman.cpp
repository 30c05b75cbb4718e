// Loading Qt's German translations.
#include "QtGerman.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {

bool installGermanQtTexts(QCoreApplication& application) {
  const QLocale german(QLocale::German, QLocale::Germany);
  QLocale::setDefault(german);
  // "qt_de" pulls in the modules' files, "qtbase_de" among them.
  auto* translator = new QTranslator(&application);
  if (!translator->load(german, QStringLiteral("qt"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

}  // namespace platform
