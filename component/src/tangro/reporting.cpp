// Reporting of construction result codes: the reporter's message table and
// the message sink, which is silent unless the host installs its own.
#include <OrvexGDI/TangroGDIOps.h>

#include <utility>

namespace orvex::TangroGDIOps {

namespace {

std::function<int(const std::string&)>& sink()
{
    static std::function<int(const std::string&)> installed;
    return installed;
}

// The reporter's own texts; construction codes come from calcerrstr.
const char* reporter_text(int code)
{
    switch (code) {
    case 2:
        return "FILE NOT FOUND";
    case 3:
        return "PATH NOT FOUND";
    case 5:
        return "FILE ACCESS DENIED";
    case 6:
        return "Library Requires Seperate Data Segments";
    case 10:
        return "Wrong Windows Version";
    case 11:
        return "Invalid .EXE File";
    case 12:
        return "OS/2 Application";
    case 13:
        return "Dos 4.0 Application";
    case 14:
        return "Unknown .EXE Type";
    case 15:
        return "Earlier Windows Version";
    case 16:
        return "Can't Load Second Instance";
    case 17:
        return "EMS Error on Second Loading";
    case 18:
        return "Can't Load Protected Mode Program";
    case 32:
        return "Sharing Violation";
    case 100:
        return "ATTEMPT TO READ PAST END OF FILE";
    case 101:
        return "DISK IS FULL";
    case 102:
        return "FILE NOT ASSIGNED";
    case 104:
        return "FILE NOT OPEN FOR INPUT";
    case 105:
        return "FILE NOT OPEN FOR OUTPUT";
    case 106:
        return "INVALID NUMERIC FORMAT";
    case 150:
        return "DISK IS WRITE PROTECTED";
    case 151:
        return "UNKNOWN DRIVE";
    case 152:
        return "DRIVE NOT READY";
    case 153:
        return "UNKNOWN COMMAND";
    case 154:
        return "CRC ERROR IN DATA";
    case 155:
        return "BAD DRIVE REQUEST STRUCTURE LENGTH";
    case 156:
        return "DISK SEEK ERROR";
    case 157:
        return "UNKNOWN MEDIA TYPE";
    case 158:
        return "SECTOR NOT FOUND";
    case 159:
        return "PRINTER OUT OF PAPER";
    case 160:
        return "DEVICE WRITE FAULT";
    case 161:
        return "DEVICE READ FAULT";
    case 162:
        return "HARDWARE FAILURE";
    default:
        break;
    }
    if (code >= 902 && code <= 908)
        return calcerrstr[code].c_str();
    return nullptr;
}

} // namespace

int error_box2(const std::string& text)
{
    const auto& installed = sink();
    return installed ? installed(text) : 0;
}

void set_error_box2_sink(std::function<int(const std::string&)> handler) { sink() = std::move(handler); }

int CHECK_ERROR2(int code)
{
    if (code == 0 || code == 103)
        return 0;
    if (const char* text = reporter_text(code))
        return error_box2(text);
    // A code without a text of its own is still reported, by number.
    return error_box2("I/O Error " + std::to_string(code));
}

} // namespace orvex::TangroGDIOps
