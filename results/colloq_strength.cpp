#include "results/colloq_strength.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "containers/ex_string_list.h"
#include "containers/string_tree.h"
#include "platform/user_interface.h"

namespace vellmora {
namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

double finiteOrNone(double value) { return std::isfinite(value) ? value : kNoValue; }

/// One end of a span: "L" or "R" (either case) and one digit 0 ... 5.
std::optional<int> parseSpanEnd(std::string_view text) {
    if (text.size() != 2 || text[1] < '0' || text[1] > '5') return std::nullopt;
    const int distance = text[1] - '0';
    if (text[0] == 'L' || text[0] == 'l') return -distance;
    if (text[0] == 'R' || text[0] == 'r') return distance;
    return std::nullopt;
}

// Oij * ln(Oij / Eij), with 0 * ln 0 taken as 0. Oij > 0 implies Ri > 0 and Cj > 0, so Eij
// is then positive as well. log1p keeps the digits of the large cells, whose ratio lies
// close to 1.
double likelihoodTerm(double observed, double expected) {
    return observed > 0 ? observed * std::log1p((observed - expected) / expected) : 0.0;
}

struct StrengthRow {
    std::string word;
    std::uint64_t observed = 0;
    StrengthScores scores;
    double key = 0;  // the chosen measure; a missing one sorts last
};

std::string rowText(const StrengthRow& row) {
    std::string text = row.word;
    text.append("\t").append(std::to_string(row.observed));
    text.append("\t").append(strengthCell(row.scores.expected));
    text.append("\t").append(std::to_string(row.scores.collocateFrequency));
    for (double value : row.scores.values) text.append("\t").append(strengthCell(value));
    text.append("\r\n");
    return text;
}

}  // namespace

StrengthMeasure strengthMeasureOf(int stored) {
    return stored >= 0 && stored < kStrengthMeasures ? static_cast<StrengthMeasure>(stored)
                                                     : StrengthMeasure::MI;
}

bool isValidSpan(const ColloqSpan& span) {
    if (span.first < kFirstColloqPosition || span.last > kLastColloqPosition) return false;
    for (int position = span.first; position <= span.last; ++position)
        if (span.holds(position)) return true;
    return false;
}

std::optional<ColloqSpan> parseColloqSpan(std::string_view text) {
    const std::size_t dots = text.find("..");
    const std::string_view firstText = dots == std::string_view::npos ? text : text.substr(0, dots);
    const std::string_view lastText = dots == std::string_view::npos ? text : text.substr(dots + 2);
    std::optional<int> first = parseSpanEnd(firstText);
    std::optional<int> last = parseSpanEnd(lastText);
    if (!first || !last) return std::nullopt;
    // Position 0 is never counted: an end there stands for the nearest word on the span's side.
    return ColloqSpan{*first == 0 ? 1 : *first, *last == 0 ? -1 : *last};
}

// The counts form the 2x2 contingency table of Evert (2008), "Corpora and collocations", in
// Luedeling & Kyto (eds.), Corpus Linguistics. An International Handbook, art. 58:
//
//                  collocate     other words
//     in span      O11 = O       O12 = R1 - O          R1 = words counted in the span
//     elsewhere    O21 = C1 - O  O22 = N - R1 - C1 + O R2 = N - R1
//                  C1 = f(c)     C2 = N - C1           N  = words of the corpus
//
// with expected frequencies Eij = Ri * Cj / N. The measures:
//   MI        = log2(O11 / E11)                        Church & Hanks (1990)
//   MI3       = log2(O11^3 / E11)                      Daille (1994)
//   t-score   = (O11 - E11) / sqrt(O11)                Church et al. (1991)
//   G2        = 2 * sum Oij * ln(Oij / Eij), 0 ln 0 = 0  Dunning (1993)
//   logDice   = 14 + log2(2 * O11 / (f(n) + f(c)))     Rychly (2008), f(n) = result lines
// G2 itself is never negative and is as large for a word the keyword repels as for one it
// attracts; it is given the sign of O11 - E11 here, so that ordering by it puts attraction
// first, as every other measure does.
StrengthScores strengthScores(const CooccurrenceCounts& counts) {
    const std::uint64_t o11 = counts.observed;
    StrengthScores scores;
    scores.collocateFrequency = counts.collocateFrequency;
    // Fewer in the corpus than beside the keyword: the corpus list does not hold the word as
    // the result does. Japanese text has no blanks between words, so the list counts whole
    // runs ("Debianパッケージの") where the result cuts a word at the keyword ("Debian"); or
    // the files changed after the search. Any figure would be made up.
    if (counts.collocateFrequency < o11) {
        scores.expected = kNoValue;
        scores.values.fill(kNoValue);
        return scores;
    }
    const std::uint64_t c1 = counts.collocateFrequency;
    const std::uint64_t r1 = std::max(counts.windowTokens, o11);
    // r1 + (c1 - o11) cannot wrap for counts that fit in memory.
    const std::uint64_t n = std::max(counts.corpusSize, r1 + (c1 - o11));

    if (n == 0) {
        scores.expected = kNoValue;
        scores.values.fill(kNoValue);
        return scores;
    }
    const double total = static_cast<double>(n);
    const double observed[2][2] = {
        {static_cast<double>(o11), static_cast<double>(r1 - o11)},
        {static_cast<double>(c1 - o11), static_cast<double>(n - r1 - (c1 - o11))}};
    const double rows[2] = {static_cast<double>(r1), static_cast<double>(n - r1)};
    const double columns[2] = {static_cast<double>(c1), static_cast<double>(n - c1)};

    double likelihood = 0;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            likelihood += likelihoodTerm(observed[i][j], rows[i] * columns[j] / total);
    likelihood *= 2;

    const double o = observed[0][0];
    const double e11 = rows[0] * columns[0] / total;
    scores.expected = finiteOrNone(e11);
    auto set = [&scores](StrengthMeasure measure, double value) {
        scores.values[static_cast<std::size_t>(measure)] = finiteOrNone(value);
    };
    set(StrengthMeasure::MI, std::log2(o / e11));
    // 3 log2 O - log2 E: O cubed could leave the range of a double.
    set(StrengthMeasure::MI3, 3 * std::log2(o) - std::log2(e11));
    set(StrengthMeasure::TScore, (o - e11) / std::sqrt(o));
    set(StrengthMeasure::LogLikelihood, o < e11 ? -likelihood : likelihood);
    set(StrengthMeasure::LogDice,
        14 + std::log2(2 * o /
                       (static_cast<double>(counts.keywordFrequency) + static_cast<double>(c1))));
    return scores;
}

std::string strengthCell(double value) {
    if (!std::isfinite(value)) return "-.----";
    // to_chars, unlike printf, never takes the decimal comma of a locale the GUI has set.
    char buffer[400];
    const std::to_chars_result end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    if (end.ec != std::errc()) return "-.----";
    std::string text(buffer, end.ptr);
    if (text == "-0.0000") text.erase(0, 1);
    return text;
}

bool writeStrengthTable(const CollocationCounts& counts, const CStringTree& reference,
                        const StrengthSpec& spec, CExStringList& destination, UserInterface& ui) {
    std::uint64_t windowTokens = 0;
    for (int position = kFirstColloqPosition; position <= kLastColloqPosition; ++position)
        if (spec.span.holds(position)) windowTokens += counts.at(position).total();
    const std::uint64_t minimum = std::max<std::uint64_t>(spec.minFrequency, 1);
    const auto keywordFrequency = static_cast<std::uint64_t>(std::max(counts.lines(), 0L));

    std::vector<StrengthRow> rows;
    bool stopped = false;
    counts.all().forEach([&](const CStringTree::Entry& entry) {
        if (stopped) return;
        ui.pump();
        stopped = ui.cancelRequested();
        if (stopped) return;
        std::uint64_t observed = 0;
        for (int position = kFirstColloqPosition; position <= kLastColloqPosition; ++position)
            if (spec.span.holds(position)) observed += counts.at(position).countOf(entry.text);
        if (observed < minimum) return;
        StrengthRow row{entry.text, observed,
                        strengthScores({observed, windowTokens, keywordFrequency,
                                        reference.countOf(entry.text), reference.total()})};
        const double key = row.scores.of(spec.measure);
        row.key = std::isnan(key) ? -std::numeric_limits<double>::infinity() : key;
        rows.push_back(std::move(row));
    });
    if (stopped) return false;

    // Stable: rows equal in both keys keep the word order of the counts.
    std::stable_sort(rows.begin(), rows.end(), [](const StrengthRow& a, const StrengthRow& b) {
        if (a.key != b.key) return a.key > b.key;
        return a.observed > b.observed;
    });
    CExStringList table;
    table.addTail(kStrengthTableHeader);
    for (const StrengthRow& row : rows) table.addTail(rowText(row));
    destination = std::move(table);
    return true;
}

}  // namespace vellmora
