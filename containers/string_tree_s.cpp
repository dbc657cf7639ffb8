#include "containers/string_tree_s.h"

#include <cstring>
#include <utility>

#include "platform/user_interface.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

int sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

CStringTreeS::CStringTreeS(KeyForm form) : m_form(form), m_set(Less{this}) {}

bool CStringTreeS::setDirections(Direction first, Direction second) {
    // Re-ordering a filled set would break its invariant silently.
    if (!m_set.empty()) return false;
    m_first = first;
    m_second = second;
    return true;
}

int CStringTreeS::compare(const Entry& a, const Entry& b) const {
    // One comparison is one step of the descent.
    if (m_pumping != nullptr) m_pumping->pump();
    const int first = static_cast<int>(m_first);
    const int second = static_cast<int>(m_second);
    switch (m_form) {
        case KeyForm::NumberThenText:
            if (a.number != b.number) return a.number < b.number ? -1 : 1;
            return sign(mbstricmp(a.text1.c_str(), b.text1.c_str())) * first;
        case KeyForm::TextsNoCase:
            if (const int order = sign(mbstricmp(a.text1.c_str(), b.text1.c_str())); order != 0)
                return order * first;
            return sign(mbstricmp(a.text2.c_str(), b.text2.c_str())) * second;
        case KeyForm::TextsExact:
            if (const int order = sign(std::strcmp(a.text1.c_str(), b.text1.c_str())); order != 0)
                return order * first;
            return sign(std::strcmp(a.text2.c_str(), b.text2.c_str())) * second;
    }
    return 0;
}

CStringTreeS::InsertResult CStringTreeS::insert(Entry entry, UserInterface& ui) {
    struct Pumping {
        UserInterface*& slot;
        ~Pumping() { slot = nullptr; }
    } pumping{m_pumping = &ui};
    auto [position, inserted] = m_set.insert(std::move(entry));
    return {&*position, inserted};
}

}  // namespace vellmora
