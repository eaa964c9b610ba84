#pragma once
// The main window's parameters, one row each: the control that shows the
// value, its Read and Write buttons and the device parameter behind them. The
// message map, the handlers and the buttons a search enables all come from
// this table.

#include <array>
#include <cstddef>

#include "protocol/Catalogue.h"
#include "res/IdsConfig.h"

// How a row's control holds its value.
enum class FieldKind {
    Number,   // an edit field: the parameter's own text, typed leniently
    Integer,  // an edit field: a plain word, typed as a leading integer
    Choice,   // a drop-down box: the chosen entry's index is the word
};

// The parameter buttons come on and go off in blocks; where a disabled button
// had the keyboard focus, the order decides where it goes, so it stays the
// order the window has always had.
enum class EnableBlock { LimitsAndAdjusts, Hystereses, Outputs };

struct ParameterRow {
    int field;
    int read;
    int write;
    Parameter parameter;
    FieldKind kind;
    EnableBlock block;
};

inline constexpr std::array<ParameterRow, 10> kParameterRows = {{
    {kIdHumidityUpperField, kIdReadHumidityUpper, kIdWriteHumidityUpper, Parameter::HumidityUpper, FieldKind::Number,
     EnableBlock::LimitsAndAdjusts},
    {kIdHumidityLowerField, kIdReadHumidityLower, kIdWriteHumidityLower, Parameter::HumidityLower, FieldKind::Number,
     EnableBlock::LimitsAndAdjusts},
    {kIdTemperatureUpperField, kIdReadTemperatureUpper, kIdWriteTemperatureUpper, Parameter::TemperatureUpper,
     FieldKind::Number, EnableBlock::LimitsAndAdjusts},
    {kIdTemperatureLowerField, kIdReadTemperatureLower, kIdWriteTemperatureLower, Parameter::TemperatureLower,
     FieldKind::Number, EnableBlock::LimitsAndAdjusts},
    {kIdHumidityAdjustField, kIdReadHumidityAdjust, kIdWriteHumidityAdjust, Parameter::HumidityAdjust,
     FieldKind::Number, EnableBlock::LimitsAndAdjusts},
    {kIdTemperatureAdjustField, kIdReadTemperatureAdjust, kIdWriteTemperatureAdjust, Parameter::TemperatureAdjust,
     FieldKind::Number, EnableBlock::LimitsAndAdjusts},
    {kIdHumidityHysteresisField, kIdReadHumidityHysteresis, kIdWriteHumidityHysteresis,
     Parameter::HumidityHysteresis, FieldKind::Number, EnableBlock::Hystereses},
    {kIdTemperatureHysteresisField, kIdReadTemperatureHysteresis, kIdWriteTemperatureHysteresis,
     Parameter::TemperatureHysteresis, FieldKind::Number, EnableBlock::Hystereses},
    {kIdOutputDelayField, kIdReadOutputDelay, kIdWriteOutputDelay, Parameter::OutputDelay, FieldKind::Integer,
     EnableBlock::Outputs},
    {kIdRemoteSignalBox, kIdReadRemoteSignal, kIdWriteRemoteSignal, Parameter::RemoteSignal, FieldKind::Choice,
     EnableBlock::Outputs},
}};

namespace parameter_rows_detail {

// The other buttons a search enables, switched before the parameters.
inline constexpr std::array<int, 12> kLeadingButtons = {
    kIdWriteAddress, kIdWriteBaud,        kIdReadTemperature, kIdReadWaterLeak, kIdReadAddress, kIdReadBaud,
    kIdReadHumidity, kIdReadPowerFailure, kIdReadCurrent,     kIdReadVoltage,   kIdReadLight,   kIdReadCo2,
};

// A block switches either each row's Read and Write in turn, or all its Write
// buttons, then `between` (0 for none), then all its Read buttons; then the
// window button that follows it.
struct BlockOrder {
    EnableBlock block;
    bool pairwise;
    int between;
    int after;
};

inline constexpr std::array<BlockOrder, 3> kBlockOrder = {{
    {EnableBlock::LimitsAndAdjusts, false, kIdWirelessParaSet, 0},
    {EnableBlock::Hystereses, false, 0, kIdLcdControlMode},
    {EnableBlock::Outputs, true, 0, kIdLightParamSet},
}};

inline constexpr std::size_t kButtonCount = [] {
    std::size_t count = kLeadingButtons.size() + 2 * kParameterRows.size();
    for (const BlockOrder& order : kBlockOrder) count += (order.between != 0) + (order.after != 0);
    return count;
}();

}  // namespace parameter_rows_detail

// Every button a successful search enables, the hidden current and voltage
// buttons among them, in the order EnableControls switches them.
inline constexpr auto kSearchEnabledButtons = [] {
    using namespace parameter_rows_detail;
    std::array<int, kButtonCount> ids{};
    std::size_t next = 0;
    for (int id : kLeadingButtons) ids[next++] = id;
    for (const BlockOrder& order : kBlockOrder) {
        for (const ParameterRow& row : kParameterRows) {
            if (row.block != order.block) continue;
            if (order.pairwise) ids[next++] = row.read;
            ids[next++] = row.write;
        }
        if (order.between != 0) ids[next++] = order.between;
        if (!order.pairwise) {
            for (const ParameterRow& row : kParameterRows)
                if (row.block == order.block) ids[next++] = row.read;
        }
        if (order.after != 0) ids[next++] = order.after;
    }
    return ids;
}();
