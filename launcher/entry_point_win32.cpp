// The start-up program's entry on Windows: a GUI program that hands its
// instance handle (the module whose resources hold the string table) to the
// launcher and exits with the launcher's result.
#include "launcher/run_launcher.hpp"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    return launcher::run_launcher(instance);
}
