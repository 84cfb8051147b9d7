#include "gui/application.h"

int main(int argc, char** argv) { return kelmora::gui::RunApplication(argc, argv); }
