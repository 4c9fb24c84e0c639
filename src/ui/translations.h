#pragma once
// Qt's own dialogs (message box buttons, the file and print dialogs) in Simplified Chinese: Qt's
// translations of its base module, as the system installs them.

namespace slp::ui {

// Loads Qt's Chinese translations into the running application once; later calls, a missing file or a
// missing application change nothing. Returns whether the translations are in force.
bool installQtChineseTranslations();

}  // namespace slp::ui
