// The text search reads from a body, against the text the rich-text control itself
// holds after loading that body (EM_GETTEXTEX), on the table of real bodies.
#include "search/note_text.h"

#include "note/rich_edit_win.h"
#include "note_bodies.h"
#include "platform/code_page_win.h"
#include "store/body_file.h"

#include <gtest/gtest.h>

#include <string>

namespace vn {
namespace {

// The control's text with its own line break (CR) as search writes it (LF).
std::u16string AsSearchText(std::u16string text) {
    for (char16_t& c : text)
        if (c == u'\r') c = u'\n';
    return text;
}

TEST(RichEditNoteText, TheControlShowsWhatSearchReads) {
    for (const test::NoteBody& body : test::NoteBodies()) {
        RichEdit control(RichEdit::Events{});
        control.LoadBody(BodyFile::Read(body.bytes, SystemCodePage()));
        const std::u16string shown = AsSearchText(control.Text());
        EXPECT_EQ(shown, body.wineText != nullptr ? std::u16string(body.wineText) : body.text) << body.what;
        EXPECT_EQ(NoteTextFromBody(body.bytes, SystemCodePage()), body.text) << body.what;
    }
}

// What the store holds is what the control writes: each body, once the control has
// read it, is written out again by the control and read back by search. Bodies that
// Wine's control reads otherwise, or writes back with a loss, are left out.
TEST(RichEditNoteText, SearchReadsWhatTheControlWrites) {
    for (const test::NoteBody& body : test::NoteBodies()) {
        if (body.wineDiffers != nullptr || body.wineWritesOtherwise != nullptr) continue;
        RichEdit control(RichEdit::Events{});
        control.LoadBody(BodyFile::Read(body.bytes, SystemCodePage()));
        const std::u16string shown = AsSearchText(control.Text());  // the control reads the body
        ASSERT_FALSE(control.BodyUnread()) << body.what;
        const std::string written = control.SaveRtf();
        EXPECT_EQ(NoteTextFromBody(written, SystemCodePage()), shown)
            << body.what << "\n" << written;
    }
}

} // namespace
} // namespace vn
