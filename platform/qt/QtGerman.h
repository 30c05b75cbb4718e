// Qt's own texts in German (the buttons of message boxes, the file dialogs, context menus of
// edits), so that they speak the program's language whatever the desktop's.
//
// Thread context: GUI thread, once the application object exists and before the first window is
// built. The translators are owned by the application.
#pragma once

class QCoreApplication;

namespace platform {

// Loads Qt's German translations from Qt's translation folder and installs them in
// `application`; makes German the default locale of Qt's widgets. False when the translation
// files are not there (Qt then keeps its English texts).
bool installGermanQtTexts(QCoreApplication& application);

}  // namespace platform
