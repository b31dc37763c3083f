#include "search/note_text.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>


namespace vn {
namespace {

// Destinations whose content the control never shows.
constexpr std::array<std::string_view, 22> kHiddenDestinations = {
    "fonttbl",  "colortbl", "stylesheet", "info",     "pict",       "object",        "header",    "footer",
    "headerl",  "headerr",  "footerl",    "footerr",  "generator",  "listtable",     "listoverridetable",
    "rsidtbl",  "themedata", "datastore", "latentstyles", "fldinst", "filetbl",      "xmlnsdecl"};

class RtfText {
public:
    RtfText(std::string_view rtf, const CodePage& codePage) : rtf_(rtf), codePage_(codePage) {}

    std::u16string Read() {
        groups_.push_back({false, 1});
        while (at_ < rtf_.size()) {
            const char c = rtf_[at_++];
            if (c == '{') {
                Flush();
                groups_.push_back(groups_.back());
            } else if (c == '}') {
                Flush();
                if (groups_.size() > 1) groups_.pop_back();
            } else if (c == '\\') {
                Control();
            } else if (c != '\r' && c != '\n') {
                Byte(c);
            }
        }
        Flush();
        // The control's stream ends with a paragraph mark its text does not hold.
        if (!text_.empty() && text_.back() == u'\n') text_.pop_back();
        return std::move(text_);
    }

private:
    struct Group {
        bool hidden;
        int unicodeSkip;
    };

    void Byte(char c) {
        if (groups_.back().hidden) return;
        if (skip_ > 0) {
            --skip_;
            return;
        }
        bytes_.push_back(c);
    }
    void Put(char16_t c) {
        if (groups_.back().hidden) return;
        Flush();
        text_.push_back(c);
    }
    void Flush() {
        if (bytes_.empty()) return;
        text_ += codePage_.FromAnsi(bytes_);
        bytes_.clear();
    }
    static int Hex(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    void Control() {
        if (at_ >= rtf_.size()) return;
        const char c = rtf_[at_];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter) {
            ++at_;
            switch (c) {
            case '\\': case '{': case '}': Byte(c); return;
            case '~': Put(0xA0); return;
            case '_': Put(u'-'); return;
            case '*': Flush(); groups_.back().hidden = true; return;
            case '\r': case '\n': Put(u'\n'); return;
            case '\'': {
                const int high = at_ < rtf_.size() ? Hex(rtf_[at_]) : -1;
                const int low = at_ + 1 < rtf_.size() ? Hex(rtf_[at_ + 1]) : -1;
                if (high < 0 || low < 0) return;
                at_ += 2;
                Byte(static_cast<char>(high * 16 + low));
                return;
            }
            default: return;  // \- and the rest show nothing
            }
        }
        const size_t start = at_;
        while (at_ < rtf_.size() && ((rtf_[at_] >= 'a' && rtf_[at_] <= 'z') || (rtf_[at_] >= 'A' && rtf_[at_] <= 'Z')))
            ++at_;
        const std::string_view word = rtf_.substr(start, at_ - start);
        bool hasNumber = false;
        long number = 0;
        const size_t numberStart = at_;
        if (at_ < rtf_.size() && rtf_[at_] == '-') ++at_;
        while (at_ < rtf_.size() && rtf_[at_] >= '0' && rtf_[at_] <= '9' && at_ - numberStart < 10) ++at_;
        if (at_ > numberStart && !(at_ == numberStart + 1 && rtf_[numberStart] == '-')) {
            hasNumber = true;
            number = std::strtol(std::string(rtf_.substr(numberStart, at_ - numberStart)).c_str(), nullptr, 10);
        } else {
            at_ = numberStart;
        }
        while (at_ < rtf_.size() && rtf_[at_] == ' ') { ++at_; break; }
        Word(word, hasNumber, number);
    }

    void Word(std::string_view word, bool hasNumber, long number) {
        if (word == "par" || word == "line" || word == "row" || word == "sect" || word == "page") Put(u'\n');
        else if (word == "tab" || word == "cell") Put(u'\t');
        else if (word == "uc" && hasNumber) groups_.back().unicodeSkip = static_cast<int>(std::clamp(number, 0L, 8L));
        else if (word == "u" && hasNumber) {
            Put(static_cast<char16_t>(number < 0 ? number + 65536 : number));
            skip_ = groups_.back().unicodeSkip;
        } else if (word == "emdash") Put(0x2014);
        else if (word == "endash") Put(0x2013);
        else if (word == "bullet") Put(0x2022);
        else if (word == "lquote") Put(0x2018);
        else if (word == "rquote") Put(0x2019);
        else if (word == "ldblquote") Put(0x201C);
        else if (word == "rdblquote") Put(0x201D);
        else if (std::find(kHiddenDestinations.begin(), kHiddenDestinations.end(), word) != kHiddenDestinations.end()) {
            Flush();
            groups_.back().hidden = true;
        }
    }

    std::string_view rtf_;
    const CodePage& codePage_;
    size_t at_ = 0;
    int skip_ = 0;
    std::vector<Group> groups_;
    std::string bytes_;
    std::u16string text_;
};

} // namespace

std::u16string NoteTextFromBody(std::string_view body, const CodePage& codePage) {
    try {
        // The control reads a body as RTF only when it starts so; anything else is text.
        const bool rtf = body.substr(0, 5) == "{\\rtf" || body.substr(0, 6) == "{\\urtf";
        std::u16string text = rtf ? RtfText(body, codePage).Read() : DecodeTextFile(body, codePage);
        // A lone CR, a lone LF and CR LF are each one line break.
        std::u16string lines;
        lines.reserve(text.size());
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == u'\r') {
                lines.push_back(u'\n');
                if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            } else {
                lines.push_back(text[i]);
            }
        }
        return lines;
    } catch (...) {
        return {};
    }
}

} // namespace vn
