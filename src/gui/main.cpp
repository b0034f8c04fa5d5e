// zuohao: the desktop program. Everything lives in zuohao_gui; this only starts it.
// On Windows it is a GUI program: Qt's entry point provides WinMain and calls main, which a
// Qt GUI header renames to qMain where that entry point expects it (MinGW).
#include <QtGui/qwindowdefs.h>

#include "gui/app/Application.h"

int main(int argc, char** argv) {
    return zuohao::gui::RunApplication(argc, argv);
}
