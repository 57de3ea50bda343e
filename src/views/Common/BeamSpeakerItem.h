#pragma once

// The numbered items whose names key every bound property of the panels,
// travel in bound-property events and are switched on by the adapters.

#include <QString>
#include <cstdint>

namespace zorvpro
{
// One list drives both the enumeration and the name table, so the two cannot
// drift apart. Positions are the item numbers; the names are used verbatim,
// misspellings included, because saved automation scripts compare them.
// clang-format off
#define ZORV_BEAM_SPEAKER_ITEMS(X) \
    X(None) \
    X(Entity_Name) \
    X(Entity_Color) \
    X(Entity_Transparency) \
    X(Entity_Visibility) \
    X(Entity_Lock) \
    X(Entity_Mute) \
    X(Quad_P0X) \
    X(Quad_P0Y) \
    X(Quad_P0Z) \
    X(Quad_FrontWidth) \
    X(Quad_BackWidth) \
    X(Quad_BackDepth) \
    X(Quad_BackHeight) \
    X(Quad_ListenerHeight) \
    X(Quad_ListenerHeightEnabled) \
    X(Quad_Rotation) \
    X(Quad_P1X) \
    X(Quad_P1Y) \
    X(Quad_P1Z) \
    X(Quad_P2X) \
    X(Quad_P2Y) \
    X(Quad_P2Z) \
    X(Quad_P3X) \
    X(Quad_P3Y) \
    X(Quad_P3Z) \
    X(Quad_P4X) \
    X(Quad_P4Y) \
    X(Quad_P4Z) \
    X(Beam_Comments) \
    X(Beam_Modules) \
    X(Beam_Beams) \
    X(Beam_PosX) \
    X(Beam_PosY) \
    X(Beam_TopPosition) \
    X(Beam_CenterPosition) \
    X(Beam_BottomPosition) \
    X(Beam_YawPosition) \
    X(Beam_PitchPosition) \
    X(Beam_BeamSelection) \
    X(Cluster_Gain) \
    X(Cluster_Delay) \
    X(Beam_AutoManual1) \
    X(Beam_EvenessMaxSpl1) \
    X(Beam_Manual1) \
    X(Beam_MainGain1) \
    X(Beam_TopRearDistance1) \
    X(Beam_TopRearAngle1) \
    X(Beam_BottomFrontDistance1) \
    X(Beam_BottomFrontAngle1) \
    X(Beam_SteeringAngle1) \
    X(Beam_SpreadingAngle1) \
    X(Beam_Smoothing1) \
    X(Beam_AutoManual2) \
    X(Beam_EvenessMaxSpl2) \
    X(Beam_Manual2) \
    X(Beam_MainGain2) \
    X(Beam_TopRearDistance2) \
    X(Beam_TopRearAngle2) \
    X(Beam_BottomFrontDistance2) \
    X(Beam_BottomFrontAngle2) \
    X(Beam_SteeringAngle2) \
    X(Beam_SpreadingAngle2) \
    X(Beam_Smoothing2) \
    X(Spl_Mode) \
    X(Spl_Freq) \
    X(Spl_Min_dB) \
    X(Spl_Max_dB) \
    X(Spl_Adjust_Spl_Range) \
    X(Spl_Auto_Adjust) \
    X(Spl_Relative_Or_Absolute) \
    X(Spl_Res) \
    X(Spl_ShowSplMap) \
    X(Spl_AutoCalculate) \
    X(Spl_RecalculateButton) \
    X(Toolbar_AddEntity) \
    X(Toolbar_DuplicateEntity) \
    X(Toolbar_Undo) \
    X(Toolbar_Redo) \
    X(Toolbar_DeleteEntity) \
    X(Toolbar_ThrowLines) \
    X(Toolbar_SliderPlan) \
    X(Toolbar_SliderSide) \
    X(Toolbar_LinkViews) \
    X(Toolbar_ZoomToFit)
// clang-format on

#define ZORV_BEAM_SPEAKER_ITEM_ENUMERATOR(name) name,
enum class BeamSpeakerItem : std::uint32_t
{
    ZORV_BEAM_SPEAKER_ITEMS(ZORV_BEAM_SPEAKER_ITEM_ENUMERATOR)
};
#undef ZORV_BEAM_SPEAKER_ITEM_ENUMERATOR

// Never an item: what the name lookup gives for a name it does not know.
constexpr BeamSpeakerItem kUnknownBeamSpeakerItem = static_cast<BeamSpeakerItem>(0xFFFFFFFFu);
// How many items the table holds (numbers 0 to kBeamSpeakerItemCount - 1).
constexpr std::uint32_t kBeamSpeakerItemCount = 85;

// The item whose name equals the text exactly (case-sensitive); an unknown
// name is logged at error level and gives kUnknownBeamSpeakerItem.
BeamSpeakerItem beamSpeakerItemFromName(const QString& name);

// The item's name; an unknown number is logged at error level and gives an
// empty text, which matches no bound property.
QString beamSpeakerItemName(BeamSpeakerItem item);
} // namespace zorvpro
