#pragma once
// Qt's own texts in Chinese: the file, print, input and colour dialogs and the
// standard buttons speak the language of the program's own texts.

// Loads the distribution's Chinese translation of Qt's texts, once (the
// application's initialisation calls it); false when it is not installed.
bool LoadQtTranslations();
