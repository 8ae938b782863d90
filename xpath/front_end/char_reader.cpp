// The scanner's view of the expression text.
#include "char_reader.hpp"

#include <cstring>
#include <limits>

namespace xpath {
namespace {

std::int32_t saturated_length(std::size_t bytes) {
    const std::size_t limit = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(bytes < limit ? bytes : limit);
}

}  // namespace

char_reader::char_reader(const char* expression) {
    std::size_t size = expression ? std::strlen(expression) : 0;
    text.reset(new char[size + 1]);
    if (size) std::memcpy(text.get(), expression, size);
    text[size] = 0;
    length = saturated_length(size + 1);
    position = text.get();
    end = text.get() + size;
    more = size != 0;
}

char char_reader::advance() {
    if (!more) return 0;
    char passed = *position++;
    more = position != end;
    return passed;
}

char char_reader::peek() const {
    return position + 1 < end ? position[1] : *end;
}

}  // namespace xpath
