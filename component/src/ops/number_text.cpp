// The number texts of the drawing files: reals with at most four decimals and
// no redundant zeros, integers in plain decimal.
#include <OrvexGDI/Ops.h>

#include <cstdio>
#include <string>

namespace orvex::Ops {

std::string str_real(double x)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.4f", x);
    std::string text(buffer);
    // A value that rounds to zero is written without a sign.
    if (text == "-0.0000")
        text = "0.0000";
    if (text.size() > 15)
        text.resize(15);
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0')
            text.pop_back();
        if (!text.empty() && text.back() == '.')
            text.push_back('0');
        if (!text.empty() && text.front() == '0')
            text.erase(0, 1);
        else if (text.size() >= 2 && text[0] == '-' && text[1] == '0')
            text.erase(1, 1);
    }
    return text;
}

std::string str_int(int i)
{
    return std::to_string(i);
}

} // namespace orvex::Ops
