// zuohao: the desktop program. Everything lives in zuohao_gui; this only starts it.
#include "gui/app/Application.h"

int main(int argc, char** argv) {
    return zuohao::gui::RunApplication(argc, argv);
}
