#include "display/NotifyIconRecords.h"

namespace {

void put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

void putHeader(Bytes& b, std::uint32_t size, const IconRecordHeader& h) {
    for (const std::uint32_t v : {size, h.window, h.identifier, h.flags, h.callbackMessage, h.icon}) {
        put32(b, v);
    }
}

// A wide text field of size characters: the text, an end mark, zeros.
void putWide(Bytes& b, const std::u16string& text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const char16_t c = i < text.size() && i + 1 < size ? text[i] : u'\0';
        b.push_back(static_cast<std::uint8_t>(c & 0xFF));
        b.push_back(static_cast<std::uint8_t>(c >> 8));
    }
}

} // namespace

Bytes EncodeAnsiIconRecord(const AnsiIconRecord& r) {
    Bytes b;
    putHeader(b, 280, r.header);
    for (std::size_t i = 0; i < 256; ++i) {
        b.push_back(static_cast<std::uint8_t>(i < r.tip.size() ? r.tip[i] : ' '));
    }
    return b;
}

Bytes EncodeWideIconRecord(const WideIconRecord& r) {
    Bytes b;
    putHeader(b, 936, r.header);
    putWide(b, r.tip.substr(0, 127), 128);
    put32(b, 0); // state
    put32(b, 0); // state mask
    putWide(b, r.balloonText.substr(0, 255), 256);
    put32(b, r.timeoutOrVersion);
    putWide(b, r.balloonTitle.substr(0, 63), 64);
    put32(b, r.balloonFlags);
    return b;
}

std::u16string WideTextCut(std::string_view utf8, std::size_t limit) {
    std::u16string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80    ? 1
                                   : lead >= 0xF0 ? 4
                                   : lead >= 0xE0 ? 3
                                   : lead >= 0xC0 ? 2
                                                  : 1;
        char32_t c = length == 1 ? (lead < 0x80 ? lead : 0xFFFD) : lead & (0x7F >> length);
        bool whole = i + length <= utf8.size();
        for (std::size_t k = 1; whole && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            whole = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!whole || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            c = 0xFFFD; // a broken sequence stands as one replacement character
        }
        i += whole ? length : 1;
        const std::size_t units = c > 0xFFFF ? 2 : 1;
        if (out.size() + units > limit) {
            break;
        }
        if (units == 2) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

std::string SystrayStatusText(std::int32_t code) {
    switch (code) {
    case 0:
        return "Success :-)";
    case -1:
        return "This is not a Form.";
    case -2:
        return "Try-Icon has no Parent Form.";
    case -3:
        return "You must suppy an Icon.";
    case 4:
        return "No suitable Menu found.";
    case 5:
        return "Menu is suitable but not hidden.";
    case 6:
        return "No default Menu Item found; bold font was not applied.";
    case -7:
        return "No Tray-Icon was loaded.";
    case -8:
        return "The Tray-Icon is disabled.";
    case -9:
        return "Tray-Icon was already loaded.";
    case -10:
        return "Balloon Icon identifier illegal.";
    case -11:
        return "Balloon Text was missing.";
    default:
        return {};
    }
}
