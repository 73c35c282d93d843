#pragma once

class QCoreApplication;

// Makes Qt's own texts (the message box's buttons, the text field's context
// menu) Russian like the rest of the window, whatever language the desktop
// is set to. Returns false when Qt's Russian translation is not installed;
// the program then runs with Qt's English texts.
bool installRussianTranslation(QCoreApplication &app);
