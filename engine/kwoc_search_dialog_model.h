#pragma once

#include <string_view>

#include "engine/kwoc_option_dialog_model.h"
#include "engine/search_dialog_model.h"

namespace vellmora {

inline constexpr std::string_view kKwocSearchDialogTitle = "Let's search in KWOC Format";
inline constexpr std::string_view kOrderSensitiveControlText = "Order sensitive search";

/// The model of the KWOC search dialog: the request of the KWIC range dialog (keywords, group
/// choices, corpus fields and sets, histories, AND/NOT/OR) with "Order sensitive search" in
/// place of "Before KW1" and the sentence box, which this dialog neither shows nor stores.
class KwocSearchDialogModel {
public:
    KwocSearchDialogModel(Profile& profile, UserInterface& ui, const Histories& histories);

    /// Fills the request as the range dialog does and the order box from KWOCOptions/KWOrder.
    void open();

    SearchDialogFields& request() { return m_request.fields(); }
    const SearchDialogFields& request() const { return m_request.fields(); }
    bool orderSensitive() const { return m_orderSensitive; }
    void setOrderSensitive(bool on) { m_orderSensitive = on; }

    /// The shared parts: keyword choices, histories, corpus-set buttons, the group and KWIC
    /// option dialogs. Its search() is not this dialog's: call search() here.
    SearchDialogModel& common() { return m_request; }
    /// "KWOC Option": the KWOC Option dialog.
    KwocOptionDialogModel kwocOptionDialog() const { return KwocOptionDialogModel(m_profile, m_ui); }

    /// "Search!": the range dialog's checks; on a failure its message and focus() and nothing
    /// stored. On success ends non-empty directories with "/", writes Word1, Word2, Method
    /// and KWOrder, flushes and returns true.
    bool search();
    SearchField focus() const { return m_request.focus(); }

    /// The request fields of the confirmed dialog into the application-wide request.
    void copyRequestTo(LastSearchValues& request) const { m_request.copyRequestTo(request); }

private:
    Profile& m_profile;
    UserInterface& m_ui;
    SearchDialogModel m_request;
    bool m_orderSensitive = false;
};

}  // namespace vellmora
