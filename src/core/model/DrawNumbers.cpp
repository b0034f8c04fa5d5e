#include "core/model/DrawNumbers.h"

#include <algorithm>

namespace zuohao {

namespace {
// A label code: the digit count in the top 5 bits, the value below (17 digits fit); the count
// kOddLength marks an index into the odd labels.
constexpr int kLabelLengthShift = 59;
constexpr std::size_t kMostLabelDigits = 17;
constexpr std::uint64_t kOddLength = 31;
// A number code: the digit count in the top 4 bits, the value below (8 digits fit); the count
// kOddDigits marks an index into the odd numbers.
constexpr int kNumberLengthShift = 28;
constexpr std::size_t kMostNumberDigits = 8;
constexpr std::uint32_t kOddDigits = 15;

bool allDigits(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::uint64_t digitsValue(const std::string& s) {
    std::uint64_t v = 0;
    for (char c : s)
        v = v * 10 + std::uint64_t(c - '0');
    return v;
}

std::string digitsText(std::uint64_t value, std::size_t length) {
    std::string s(length, '0');
    for (std::size_t i = length; i-- > 0; value /= 10)
        s[i] = char('0' + value % 10);
    return s;
}

bool isOddLabel(std::uint64_t code) {
    return code >> kLabelLengthShift == kOddLength;
}
} // namespace

std::optional<std::uint64_t> DrawNumbers::packedLabel(const std::string& label) const {
    if (label.empty() || label.size() > kMostLabelDigits || !allDigits(label)) return std::nullopt;
    return (std::uint64_t(label.size()) << kLabelLengthShift) | digitsValue(label);
}

std::uint64_t DrawNumbers::labelCode(const std::string& label) const {
    if (auto packed = packedLabel(label)) return *packed;
    return (kOddLength << kLabelLengthShift) | m_oddLabels.size();
}

std::uint32_t DrawNumbers::numberCode(const std::string& haoma) {
    if (haoma.size() <= kMostNumberDigits && allDigits(haoma))
        return (std::uint32_t(haoma.size()) << kNumberLengthShift) |
               std::uint32_t(digitsValue(haoma));
    m_oddNumbers.push_back(haoma);
    return (kOddDigits << kNumberLengthShift) | std::uint32_t(m_oddNumbers.size() - 1);
}

std::string DrawNumbers::labelText(std::uint64_t code) const {
    const std::uint64_t value = code & ((std::uint64_t(1) << kLabelLengthShift) - 1);
    if (isOddLabel(code)) return m_oddLabels[value];
    return digitsText(value, std::size_t(code >> kLabelLengthShift));
}

std::string DrawNumbers::numberText(std::uint32_t code) const {
    const std::uint32_t value = code & ((std::uint32_t(1) << kNumberLengthShift) - 1);
    if (code >> kNumberLengthShift == kOddDigits) return m_oddNumbers[value];
    return digitsText(value, std::size_t(code >> kNumberLengthShift));
}

std::optional<std::size_t> DrawNumbers::positionOf(const std::string& label) const {
    const std::optional<std::uint64_t> packed = packedLabel(label);
    if (packed && m_rising) {
        // Odd labels break the rise, so here every label is packed.
        auto it = std::lower_bound(m_labels.begin(), m_labels.end(), *packed);
        if (it == m_labels.end() || *it != *packed) return std::nullopt;
        return std::size_t(it - m_labels.begin());
    }
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        const std::uint64_t code = m_labels[i];
        if (packed ? code == *packed : isOddLabel(code) && labelText(code) == label) return i;
    }
    return std::nullopt;
}

bool DrawNumbers::Add(const std::string& label, const std::string& haoma) {
    if (Exists(label)) return false;
    const std::uint64_t code = labelCode(label);
    if (isOddLabel(code)) m_oddLabels.push_back(label);
    m_rising = m_rising && !isOddLabel(code) && (m_labels.empty() || m_labels.back() < code);
    m_labels.push_back(code);
    m_numbers.push_back(numberCode(haoma));
    return true;
}

void DrawNumbers::Set(const std::string& label, const std::string& haoma) {
    if (const auto pos = positionOf(label))
        m_numbers[*pos] = numberCode(haoma);
    else
        Add(label, haoma);
}

void DrawNumbers::Remove(const std::string& label) {
    const auto pos = positionOf(label);
    if (!pos) return;
    m_labels.erase(m_labels.begin() + long(*pos));
    m_numbers.erase(m_numbers.begin() + long(*pos));
    if (m_rising) return;
    m_rising = true;
    for (std::size_t i = 0; m_rising && i < m_labels.size(); ++i)
        m_rising = !isOddLabel(m_labels[i]) && (i == 0 || m_labels[i - 1] < m_labels[i]);
}

void DrawNumbers::RemoveAll() {
    m_labels.clear();
    m_numbers.clear();
    m_oddLabels.clear();
    m_oddNumbers.clear();
    m_rising = true;
}

std::optional<std::string> DrawNumbers::find(const std::string& label) const {
    const auto pos = positionOf(label);
    if (!pos) return std::nullopt;
    return numberText(m_numbers[*pos]);
}

} // namespace zuohao
