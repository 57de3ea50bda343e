#pragma once

#include <cstdint>

namespace zorvpro
{
// The widget kinds a BindableProperty can be built as; any number not listed
// here builds a toggle switch.
namespace PropertyKind
{
constexpr std::uint32_t ColorPicker = 0;
constexpr std::uint32_t Icon = 1;
constexpr std::uint32_t Tab = 2;
constexpr std::uint32_t ComboBox = 3;
constexpr std::uint32_t LineEdit = 4;
constexpr std::uint32_t MultiLineEdit = 5;
constexpr std::uint32_t ToggleSwitch = 6;
constexpr std::uint32_t Slider = 8;
} // namespace PropertyKind
} // namespace zorvpro
