// Annotation of the full IGES import as lines and curves: general notes
// (212) as stroke text, leaders (214) with their arrowheads, witness and
// section lines (copious data forms 40 and 31-38), and the dimensions, flag
// notes and labels (202-222), drawn through the notes, leaders, witness lines
// and enclosing arcs they name.
#pragma once

#include "formats/common/world_shapes.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvex::formats::iges {

/// One entity as the annotation drawing reads it.
struct AnnotationEntity {
    int Type = 0;
    int Form = 0;
    std::vector<double> values;     ///< parameter values after the entity type
    std::vector<std::string> texts; ///< the Hollerith texts of the same fields, "" elsewhere
    Matrix matrix;                  ///< its own matrix chain, then those of the parents it is drawn through
    ShapeStyle style;
};

/// The part a parent names, placed through the parent's matrix after its
/// own; nullopt for an entry that is missing, holds no parameter data, is
/// blanked or was drawn already.
using PartLookup = std::function<std::optional<AnnotationEntity>(int pointer, const Matrix& parent)>;

/// True for the kinds drawn here: notes, leaders, witness and section lines,
/// dimensions, flag notes and labels.
bool is_annotation(int type, int form);

/// True for the dimensions, flag notes and labels: the kinds drawn through
/// the parts they name.
bool is_dimension(int type);

/// True for the kinds a dimension draws as its parts: notes, leaders,
/// copious data (witness lines) and circular arcs.
bool is_annotation_part(int type);

/// The directory entries a dimension, flag note or label names as its parts
/// (its note, leaders, witness lines and enclosing arc); empty for other
/// kinds. Each is drawn through its parent, not on its own.
std::vector<int> annotation_parts(int type, int form, const std::vector<double>& v);

/// Draws an annotation entity; its parts come through `part`. False when its
/// values make nothing.
bool add_annotation(const AnnotationEntity& e, const PartLookup& part, WorldShapes& shapes);

/// A general note: each string laid out in its own box.
bool add_note(const AnnotationEntity& e, WorldShapes& shapes);

/// A leader: its arrowhead by form and its segments. With `arcCentre` (the
/// vertex of an angular dimension), a segment whose ends lie at one distance
/// from the centre is an arc about it.
bool add_leader(const AnnotationEntity& e, WorldShapes& shapes, const double* arcCentre = nullptr);

} // namespace orvex::formats::iges
