// The editor speaks Japanese throughout: Qt's own texts (file dialogs,
// message-box buttons, context menus) through Qt's translations where the
// system has them, and the C library's error texts where it has them.
#pragma once

class QApplication;

void UseJapaneseTexts(QApplication& app);
