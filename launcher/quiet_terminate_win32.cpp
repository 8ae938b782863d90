// The handler that std::terminate calls when an exception escapes, for
// launcher.exe only. The C++ library's default one names the exception's type
// on standard error, which a GUI program does not have, and for that links in
// the library's whole name demangler, about a tenth of the program. Ending
// the program is all that is left to do here, as the default does after its
// message.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
