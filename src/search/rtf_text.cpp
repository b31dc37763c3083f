#include "search/rtf_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace vn {

namespace {

constexpr unsigned kAnsiCodePage = 1252;  // \ansi, and a document that names no code page
constexpr unsigned kSymbolCodePage = 42;

// Groups whose content is not part of the text: tables, document properties,
// pictures and objects' data, field instructions, headers and footers, the old
// paragraph numbers (\pntext: the control draws them from \pn). The newer list
// numbers (\listtext) are text to the control.
constexpr std::array<std::string_view, 43> kHiddenDestinations = {
    "annotation", "atnauthor",   "atndate",     "atnid",        "author",         "buptim",   "colortbl",
    "comment",    "company",     "creatim",     "datastore",    "doccomm",        "docvar",   "falt",
    "fldinst",    "footer",      "footerf",     "footerl",      "footerr",        "footnote", "header",
    "headerf",    "headerl",     "headerr",     "info",         "keywords",       "latentstyles",
    "listoverridetable", "listtable", "nonshppict", "objclass", "objdata", "objname", "operator",
    "pict",       "pntext",      "printim",     "revtim",       "revtbl",         "rsidtbl",  "stylesheet",
    "subject",    "title",
};

struct NamedCharacter {
    std::string_view word;
    char16_t character;
};
constexpr std::array<NamedCharacter, 24> kNamedCharacters = {{
    {"par", u'\n'},       {"line", u'\n'},      {"sect", u'\n'},     {"page", u'\n'},      {"row", u'\n'},
    {"nestrow", u'\n'},   {"tab", u'\t'},       {"cell", u'\t'},     {"nestcell", u'\t'},  {"bullet", 0x2022},
    {"emdash", 0x2014},   {"endash", 0x2013},   {"emspace", 0x2003}, {"enspace", 0x2002},  {"qmspace", 0x2005},
    {"lquote", 0x2018},   {"rquote", 0x2019},   {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"zwj", 0x200D},
    {"zwnj", 0x200C},     {"ltrmark", 0x200E},  {"rtlmark", 0x200F}, {"zwbo", 0x200B},
}};

// The code page of a font's \fcharset, as Windows maps character sets; 0 for one
// it does not know (the document's code page applies).
unsigned CharsetCodePage(int charset, const CodePage& system) {
    switch (charset) {
    case 0: return 1252;
    case 1: return system.Identifier();
    case 2: return kSymbolCodePage;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return 0;
    }
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class RtfReader {
public:
    RtfReader(std::string_view rtf, const CodePage& codePage) : rtf_(rtf), system_(codePage) {}

    std::optional<std::u16string> Read() {
        while (pos_ < rtf_.size() && !ended_) {
            const char c = rtf_[pos_];
            if (c == '{') {
                ++pos_;
                fallbackLeft_ = 0;
                groups_.push_back(groups_.empty() ? Group{} : groups_.back());
            } else if (c == '}') {
                ++pos_;
                fallbackLeft_ = 0;
                CloseGroup();
            } else if (c == '\\') {
                ++pos_;
                Control();
            } else {
                ++pos_;
                // Line breaks in the stream are only there to keep its lines short.
                if (c != '\r' && c != '\n' && c != '\0') Byte(static_cast<uint8_t>(c));
            }
        }
        Flush();
        // A stream whose outer group never closes is refused as RTF by the control.
        if (!ended_) return std::nullopt;
        // A CR written as \u13 breaks the line as the control's own does.
        std::replace(text_.begin(), text_.end(), u'\r', u'\n');
        // The control merges the last paragraph mark read with its own closing one.
        if (!text_.empty() && text_.back() == u'\n') text_.pop_back();
        return std::move(text_);
    }

private:
    struct Group {
        bool skipped = false;    // a destination that is not text
        bool hiddenText = false; // \v
        bool fontTable = false;
        int unicodeFallback = 1; // \uc
        bool fontChosen = false; // by \f or \plain; else the default font (\deff) applies
        unsigned codePage = 0;   // of the font in use, 0 for the document's
    };

    void CloseGroup() {
        if (groups_.empty()) return;
        groups_.pop_back();
        // The stream ends with its outermost group, as the control reads it.
        if (groups_.empty()) ended_ = true;
    }

    Group& Current() {
        if (groups_.empty()) groups_.push_back(Group{});
        return groups_.back();
    }

    unsigned CodePageInUse() {
        const Group& group = Current();
        const unsigned font = group.fontChosen ? group.codePage : FontCodePage(defaultFont_);
        return font != 0 ? font : documentCodePage_;
    }

    unsigned FontCodePage(int font) const {
        const auto found = fontCodePages_.find(font);
        return found != fontCodePages_.end() ? found->second : 0;
    }

    // Text bytes wait until the code page or the kind of text changes, so that a
    // double-byte character written as two \'xx reads as one.
    void Byte(uint8_t b) {
        if (fallbackLeft_ > 0) {
            --fallbackLeft_;
            return;
        }
        // A CR or LF byte, even as \'0d, is no text to the control: \par breaks lines.
        if (Hidden() || b == '\r' || b == '\n') return;
        const unsigned codePage = CodePageInUse();
        if (!pending_.empty() && codePage != pendingCodePage_) Flush();
        pendingCodePage_ = codePage;
        pending_ += static_cast<char>(b);
    }

    bool Hidden() {
        const Group& group = Current();
        return group.skipped || group.hiddenText;
    }

    void Unit(char16_t unit) {
        if (Hidden()) return;
        Flush();
        text_ += unit;
    }

    void Flush() {
        if (pending_.empty()) return;
        // Plain ASCII reads alike in every code page but the symbol fonts'.
        if (pendingCodePage_ != kSymbolCodePage &&
            std::all_of(pending_.begin(), pending_.end(), [](char c) { return static_cast<uint8_t>(c) < 0x80; })) {
            text_.append(pending_.begin(), pending_.end());
        } else {
            text_ += system_.FromCodePage(pendingCodePage_, pending_);
        }
        pending_.clear();
    }

    void Control() {
        if (pos_ >= rtf_.size()) return;
        const char c = rtf_[pos_];
        if (IsLetter(c)) return Word();
        ++pos_;
        if (c == '\'') {
            // A byte in hexadecimal; counts as one character of a \u fallback.
            const int high = pos_ < rtf_.size() ? HexValue(rtf_[pos_]) : -1;
            const int low = pos_ + 1 < rtf_.size() ? HexValue(rtf_[pos_ + 1]) : -1;
            if (high < 0 || low < 0) return;
            pos_ += 2;
            return Byte(static_cast<uint8_t>(high * 16 + low));
        }
        if (c == '\\' || c == '{' || c == '}') return Byte(static_cast<uint8_t>(c));
        fallbackLeft_ = 0;
        switch (c) {
        case '~': return Unit(0x00A0);
        case '-': return;  // an optional hyphen: the control keeps none in its text
        case '_': return Unit(0x2011);
        case '\r':
        case '\n': return Unit(u'\n');
        case '\t': return Unit(u'\t');
        case '*': Current().skipped = true; return;  // a destination a reader may leave out
        default: return;
        }
    }

    void Word() {
        const size_t start = pos_;
        while (pos_ < rtf_.size() && IsLetter(rtf_[pos_])) ++pos_;
        const std::string_view word = rtf_.substr(start, pos_ - start);
        bool hasParameter = false;
        bool negative = false;
        int64_t value = 0;
        if (pos_ < rtf_.size() && rtf_[pos_] == '-' && pos_ + 1 < rtf_.size() && IsDigit(rtf_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        while (pos_ < rtf_.size() && IsDigit(rtf_[pos_])) {
            hasParameter = true;
            value = std::min<int64_t>(value * 10 + (rtf_[pos_] - '0'), INT32_MAX);
            ++pos_;
        }
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ') ++pos_;
        const auto parameter = static_cast<int32_t>(negative ? -value : value);
        // A control word ends a \u fallback early, as the control reads it.
        fallbackLeft_ = 0;
        Act(word, hasParameter, parameter);
    }

    void Act(std::string_view word, bool hasParameter, int32_t parameter) {
        Group& group = Current();
        if (group.fontTable && word == "f" && hasParameter) {
            tableFont_ = parameter;
        } else if (group.fontTable && word == "fcharset" && !tableFontHasCpg_.count(tableFont_)) {
            fontCodePages_[tableFont_] = CharsetCodePage(parameter, system_);
        } else if (group.fontTable && word == "cpg" && parameter > 0) {
            fontCodePages_[tableFont_] = static_cast<unsigned>(parameter);
            tableFontHasCpg_.insert(tableFont_);
        } else if (word == "u" && hasParameter) {
            Unit(static_cast<char16_t>(parameter < 0 ? parameter + 65536 : parameter));
            fallbackLeft_ = group.unicodeFallback;
        } else if (word == "uc" && hasParameter) {
            group.unicodeFallback = std::clamp(parameter, 0, 0x7FFF);
        } else if (word == "f" && hasParameter) {
            group.codePage = FontCodePage(parameter);
            group.fontChosen = true;
        } else if (word == "plain") {
            group.codePage = FontCodePage(defaultFont_);
            group.fontChosen = true;
            group.hiddenText = false;
        } else if (word == "deff" && hasParameter) {
            defaultFont_ = parameter;
        } else if (word == "ansicpg" && parameter > 0) {
            documentCodePage_ = static_cast<unsigned>(parameter);
        } else if (word == "ansi" || word == "mac" || word == "pc" || word == "pca") {
            documentCodePage_ = word == "ansi" ? kAnsiCodePage : word == "mac" ? 10000 : word == "pc" ? 437 : 850;
        } else if (word == "v") {
            group.hiddenText = !hasParameter || parameter != 0;
        } else if (word == "fonttbl") {
            group.fontTable = true;
            group.skipped = true;
        } else if (word == "bin") {
            // Raw bytes of a picture or an object: never text, whatever they hold.
            pos_ += std::min<size_t>(static_cast<size_t>(std::max(parameter, 0)), rtf_.size() - pos_);
        } else if (std::find(kHiddenDestinations.begin(), kHiddenDestinations.end(), word) !=
                   kHiddenDestinations.end()) {
            group.skipped = true;
        } else {
            for (const NamedCharacter& named : kNamedCharacters)
                if (word == named.word) return Unit(named.character);
        }
    }

    std::string_view rtf_;
    const CodePage& system_;
    size_t pos_ = 0;
    bool ended_ = false;
    std::vector<Group> groups_;
    int fallbackLeft_ = 0;  // characters of a \u fallback still to leave out
    unsigned documentCodePage_ = kAnsiCodePage;
    int defaultFont_ = -1;
    std::map<int, unsigned> fontCodePages_;
    std::set<int> tableFontHasCpg_;
    int tableFont_ = -1;
    std::string pending_;
    unsigned pendingCodePage_ = kAnsiCodePage;
    std::u16string text_;
};

} // namespace

std::optional<std::u16string> RtfText(std::string_view rtf, const CodePage& codePage) {
    return RtfReader(rtf, codePage).Read();
}

} // namespace vn
