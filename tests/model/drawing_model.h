// A plain reference model of a drawing control's element list, written from
// the rules of the element factory, the editing operations, the deletion
// stack, the extents and what each file format gives back after a save. It
// shares no code with the library: the sequence driver runs the same
// operations on both and compares them after every step.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orvex::model {

using Colour = std::int32_t;

struct Element {
    int id = 0; // identity, as the control's element objects have one
    int type = 0;
    Colour colour = 0;
    int lineType = 0;
    int view = 0;
    int layer = 0;
    int highlight = 0;
    bool deleted = false;
    std::array<double, 6> slot{};
};

struct ArcView {
    std::array<double, 9> m{}; // M11 .. M33
    bool defined = false;
};

struct Extents {
    double minX = 0, minY = 0, maxX = 0, maxY = 0, maxZ = 0;
};

enum class Raises { Nothing, ListIndex };

// The file formats a save can go to, numbered as CadType.
enum Format { OVX = 1, DXF = 2, IGES = 3 };

class Drawing {
public:
    Drawing();

    // The current drawing attributes and view of the control.
    Colour drawColour = 0x00FF00;
    int lineType = 0;
    int currentLayer = 1;
    int viewNumber = 1;
    Colour background = 0x000000;
    std::array<bool, 255> layerVisible{};

    std::vector<Element> elements;
    std::vector<int> deletions; // ids, most recent last
    std::array<ArcView, 91> arcViews{};
    Extents extents;

    // The factory: -1 when the coordinates are out of range.
    int make(int type, std::array<double, 6> c, Colour colour, int lineType, int layer, int highlight, int view);
    // A Make... call with the current attributes.
    int make_with_current(int type, std::array<double, 6> c, int view);

    void add_to_group(int n);
    void clear_group();
    void delete_group();
    void rotate_group(double angle, double pu, double pv, int times, bool keepSource);
    void shift_group(double dx, double dy, double dz, int times, bool keepSource);
    Raises rotate_element(int n, double angle, double pu, double pv);
    Raises shift_element(int n, double x, double y, double z);
    void new_origin(double x, double y, double z);
    void set_is_deleted(int n, bool deleted);
    void undelete_last();

    Raises set_element(int target, int source);
    Raises insert(int index);
    void add();
    void clear_elements();
    void set_extents();

    // What a save in the format writes, as the elements and arc views a
    // read of that file gives (with the current background colour).
    struct FileContents {
        std::vector<Element> elements;
        std::array<ArcView, 91> arcViews{};
    };
    FileContents saved(Format format) const;
    // A load replaces the drawing with the file's; a merge appends it.
    void read(const FileContents& file, bool merge);

private:
    void widen(double x, double y);
    void widen_by(const Element& e);
    void delete_element(Element& e);
    void rotated_copy(const Element& e, double pu, double pv, double angle);
    Element fresh();
    void reset_arc_views();

    int nextId_ = 0;
};

} // namespace orvex::model
