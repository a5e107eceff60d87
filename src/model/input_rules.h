// The input rules every run applies before an analysis, in their order, with the message, the
// kind of box and the control that receives the focus when the rule ends the run.
#pragma once

#include <string>
#include <string_view>

namespace tarvelo {

enum class RuleId {
    None = 0,
    FckBelow20,  // question
    FckAbove90,
    FckNotPositive,  // fck <= 0 accepted at the question: cannot be analysed
    FykNotPositive,
    EsNotPositive,
    FykNotStandard,  // question
    EsNotStandard,   // question
    CreepTooHigh,    // question
    GamacBelowOne,
    GamasBelowOne,
    BarCountOverflow,  // count beyond the 16-bit range
    BarCountNotPositive,
    BarCountAbove299,
    PolygonBarsBelow4,
    RectangleBarsBelow4,
    CircleBarsBelow6,
    VertexCountOverflow,  // count beyond the 16-bit range
    VertexCountBelow3,
    VertexCountAbove299,
    VertexGridRows,
    PolygonBarGridRows,
    RectangleZeroDimension,
    RectangleBarGridRows,
    HollowRectangleZeroDimension,
    HollowRectangleOpening,
    HollowRectangleBarGridRows,
    CircleZeroDimension,
    CircleCoverTooLarge,
    HollowCircleZeroDimension,
    HollowCircleDiameters,
    HollowCircleCoverTooLarge,
    PolygonOrientation,
    CoincidentBars,
    BminBelow14,
    BminBelow19,         // question
    AreaBelow360,        // informative
    ShortColumn,         // informative
    HeightZero,          // loads window: L = 0
    AxialForceZero,      // loads window: Fd = 0
    Hypostatic,          // loads window: pinned base under a free top
    CreepMakesNoStrain,  // creep coefficient giving a peak strain <= 0
    GridRowOverflow,     // a grid larger than the 16-bit row count
    // Two edges of a typed polygon cross; the message names them.
    SelfCrossingPolygon,
    // A bar's centre lies outside the concrete; the message names the bar.
    BarOutsideConcrete,
};

enum class BoxKind { Warning, Question };

enum class RuleOutcome {
    End,       // the run stops after the box
    YesNo,     // Yes stops the run, No goes on
    Continue,  // informative, the run goes on
};

// Controls that can receive the focus after a box.
enum class FocusTarget {
    None,
    // The main window's fields.
    Fck,
    CreepCoefficient,
    Fyk,
    Es,
    Gamac,
    Gamas,
    VertexCount,
    BarCount,
    SectionData,        // the main window's "Dados da seção" button
    Loads,              // the main window's "Carregamento" button
    LoadsHeight,        // the loads window's height field
    LoadsAxialForce,    // the loads window's axial-force field
    SectionVertexGrid,  // the section window's vertex grid
    SectionBarGrid,     // the section window's bar grid
};

struct RuleInfo {
    RuleId id;
    std::string_view message;
    std::string_view title;
    BoxKind box;
    RuleOutcome outcome;
    FocusTarget focus;
};

const RuleInfo& Rule(RuleId id);

// The messages of the rules that name what they refuse: the rule's message with the edges
// (numbered from 1, edge k joining vertex k to vertex k + 1 and the last one back to vertex 1)
// or the bar filled in.
std::string CrossingEdgesMessage(int firstEdge, int secondEdge, int vertexCount);
std::string BarOutsideMessage(int bar);

inline constexpr std::string_view kProgramTitle = "TARVELO";
inline constexpr std::string_view kPolygonTitle = "Flexo-compressão oblíqua";

}  // namespace tarvelo
