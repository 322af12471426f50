// Qt's own texts (standard buttons, file, colour, font and print dialogs) in
// Japanese, like the rest of the window.
#pragma once

class QCoreApplication;
class QTranslator;

namespace morva {

// Installs Qt's Japanese translations on the application and returns them
// (owned by the application), or nullptr when they are not installed on this
// machine (Qt then speaks English).
QTranslator* InstallJapaneseQtTranslations(QCoreApplication& app);

}  // namespace morva
