#include "model/column_data.h"

#include <array>
#include <cstddef>

namespace tarvelo {
namespace {

constexpr std::array<std::string_view, 5> kSectionTypeNames{
    "RectangularSolid", "RectangularHollow", "CircularSolid", "CircularHollow", "Polygonal"};

constexpr std::array<std::string_view, 3> kSupportNames{"Fixed", "Pinned", "Free"};

}  // namespace

std::string_view SectionTypeName(SectionType type) {
    const auto index = static_cast<std::size_t>(type);
    return index < kSectionTypeNames.size() ? kSectionTypeNames[index] : std::string_view{};
}

std::string_view SupportConditionName(SupportCondition support) {
    const auto index = static_cast<std::size_t>(support);
    return index < kSupportNames.size() ? kSupportNames[index] : std::string_view{};
}

bool ParseSectionType(std::string_view name, SectionType& out) {
    for (std::size_t i = 0; i < kSectionTypeNames.size(); ++i) {
        if (kSectionTypeNames[i] == name) {
            out = static_cast<SectionType>(i);
            return true;
        }
    }
    return false;
}

bool ParseSupportCondition(std::string_view name, SupportCondition& out) {
    for (std::size_t i = 0; i < kSupportNames.size(); ++i) {
        if (kSupportNames[i] == name) {
            out = static_cast<SupportCondition>(i);
            return true;
        }
    }
    return false;
}

}  // namespace tarvelo
