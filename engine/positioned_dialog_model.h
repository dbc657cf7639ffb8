#pragma once

#include <string_view>

#include "engine/positioned_search.h"
#include "engine/search_dialog_model.h"

namespace vellmora {

inline constexpr std::string_view kPositionedDialogTitle = "KWIC Search(POSITION)";
inline constexpr std::string_view kNoPositionMessage =
    "第２キーワードの位置が指定されていません！(-_-ﾒ)";

/// The model of the positioned KWIC search dialog: the request of the range dialog (keywords,
/// word-group choices, corpus fields, corpus sets, histories, Way of Search) plus the word
/// positions around keyword 1 and its "Recognize Sentence Final" box. The range dialog's
/// "Before KW1" and its own sentence box (request().beforeKeyword1, recognizeSentence) are
/// not part of this dialog and are neither shown nor stored.
class PositionedDialogModel {
public:
    PositionedDialogModel(Profile& profile, UserInterface& ui, const Histories& histories);

    /// Fills the request as the range dialog does and the positions from "PositionedKwic".
    void open();

    SearchDialogFields& request() { return m_request.fields(); }
    const SearchDialogFields& request() const { return m_request.fields(); }
    WordPositions& positions() { return m_positions; }
    const WordPositions& positions() const { return m_positions; }

    /// The shared parts: keyword choices, histories, corpus-set buttons, group and option
    /// dialogs. Its search() is not this dialog's: call search() here.
    SearchDialogModel& common() { return m_request; }

    /// "Search!": the checks in order (keyword 1, a file or response file, a position for
    /// keyword 2 unless the Way of Search is OR, a usable file); on the first failure beeps
    /// (unless silenced), shows its message and returns false with focus() naming the field
    /// (Keyword2 for a missing position), storing nothing. On success ends non-empty
    /// directories with "/", writes the positions, Word1, Word2 and Method, flushes and
    /// returns true.
    bool search();
    SearchField focus() const { return m_focus; }

    /// The request fields of the confirmed dialog into the application-wide request.
    void copyRequestTo(LastSearchValues& request) const { m_request.copyRequestTo(request); }

private:
    Profile& m_profile;
    UserInterface& m_ui;
    SearchDialogModel m_request;
    WordPositions m_positions;
    SearchField m_focus = SearchField::None;
};

}  // namespace vellmora
