#include "preview/PovText.h"

namespace sc {

void PutLine(std::ostream& out, const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.put('\r');
        out.put(text[i]);
    }
    out << "\r\n";
}

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}

}  // namespace sc
