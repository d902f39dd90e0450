// The drawing's element list: TElement (one element) and TElements (the
// collection that owns them). Qt-free, so the geometry functions and the file
// formats can take elements; QOrvexGDI.h re-exports both.
#pragma once

#include <OrvexGDI/VUvuDAVTypes.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QImage;
class QObject;

namespace orvex {

class TElements;

/// Element type codes.
enum : int {
    etNone = 0,
    etPoint = 1,
    etLine = 2,
    etArc = 3,
    etCircle = 4,
    etPointMark = 5, ///< a point-like mark no operation makes; picked like a point
    etArrow = 6,
    etLeader = 7,
    etWitness = 9,
    etImage = 10,
    etEllipse = 12,
    etRectangle = 13,
    etClipRect = 14,
    /// One edge of a filled region's outline: slots as a line's, the view
    /// holds the region's number. Consecutive edges with one region number
    /// make one region, filled even-odd in its first edge's colour.
    etFillEdge = 15,
};

/// One element of a drawing: a type code, six coordinate slots whose meaning
/// depends on the type, and its attributes. Elements are made only by their
/// collection, which owns them; a reference stays valid until the list is
/// cleared, reloaded or reassigned.
class ORVEXGDI_EXPORT TElement {
public:
    /// Not copyable: an element belongs to its collection (use Assign).
    TElement(const TElement&) = delete;
    TElement& operator=(const TElement&) = delete;

    /// Element type code (etPoint, etLine, etArc, ...).
    int GetEtype() const { return Etype_; }
    /// Sets the element type code.
    void SetEtype(int value) { Etype_ = value, changed(); }
    /// Colour (red in the low byte).
    TColor GetColor() const { return Color_; }
    /// Sets the colour.
    void SetColor(TColor value) { Color_ = value; }
    /// Line type code: dash style and pen width.
    int GetLineType() const { return LineType_; }
    /// Sets the line type code.
    void SetLineType(int value) { LineType_ = value, changed(); }
    /// Arc-view number of arcs, fill code of circles and rectangles, region
    /// number of fill edges, 1 otherwise.
    int GetView() const { return View_; }
    /// Sets the arc-view number or fill code.
    void SetView(int value) { View_ = value, changed(); }
    /// Layer 0 .. 254.
    int GetLayer() const { return Layer_; }
    /// Sets the layer (not range-checked here).
    void SetLayer(int value) { Layer_ = value, changed(); }
    /// Highlight code; non-zero while the element is in the group.
    std::uint8_t GetHighlight() const { return Highlight_; }
    /// Sets the highlight code.
    void SetHighlight(std::uint8_t value) { Highlight_ = value; }
    /// Whether the element is marked deleted (it keeps its index).
    bool GetDeleted() const { return Deleted_; }
    /// Marks the element deleted or live.
    void SetDeleted(bool value) { Deleted_ = value; }
    /// Position in the deletion order when deleted.
    int GetDeleteNumber() const { return DeleteNumber_; }
    /// A value the host may use freely.
    int GetTag() const { return Tag_; }
    /// Sets the host's value.
    void SetTag(int value) { Tag_ = value; }

    /// Slot Index for 1 <= Index <= 6; 0 for any other index.
    double GetCoord(int Index) const { return (Index >= 1 && Index <= 6) ? Coord_[Index - 1] : 0.0; }
    /// Stores slot Index for 1 <= Index <= 6; any other index is ignored.
    void SetCoord(int Index, double Value)
    {
        if (Index >= 1 && Index <= 6)
            Coord_[Index - 1] = Value, changed();
    }
    /// Unchecked slot access for hot loops; i is 0-based (slot i + 1).
    double slot(int i) const { return Coord_[static_cast<std::size_t>(i)]; }

    /// The picture of an image element; the host keeps it alive.
    const QImage* GetImage() const { return Image_; }
    /// Sets the picture of an image element; the host keeps it alive.
    void SetImage(const QImage* image) { Image_ = image; }

    /// Copies the values of Source (type, colour, line type, view, layer,
    /// highlight, deleted flag, delete number, tag, slots and image); the
    /// identity (collection, ID, index) stays. A null Source does nothing.
    void Assign(const TElement* Source);

    /// The collection that owns this element.
    TElements* Collection() const { return Collection_; }
    /// Unique within its collection; never reused while the collection lives.
    int ID() const { return ID_; }
    /// 0-based position in the collection, in O(1).
    int Index() const { return Index_; }

private:
    friend class TElements;
    TElement(TElements* collection, int id, int index) : Collection_(collection), ID_(id), Index_(index) {}
    // Tells the collection that a value its element index depends on changed.
    inline void changed();

    std::array<double, 6> Coord_{};
    const QImage* Image_ = nullptr;
    TElements* Collection_ = nullptr;
    int ID_ = 0;
    int Index_ = 0;
    int Etype_ = 0;
    TColor Color_ = 0;
    int LineType_ = 0;
    int View_ = 0;
    int Layer_ = 0;
    int DeleteNumber_ = 0;
    int Tag_ = 0;
    std::uint8_t Highlight_ = 0;
    bool Deleted_ = false;
};

/// The owned collection of a drawing's elements. Indices are 0-based and
/// dense; elements live in fixed blocks so that adding or inserting never
/// moves one.
class ORVEXGDI_EXPORT TElements {
public:
    /// An empty list owned by Owner (the drawing control).
    explicit TElements(QObject* Owner = nullptr);
    /// Destroys every element.
    ~TElements();
    /// Not copyable: use Assign to copy elements.
    TElements(const TElements&) = delete;
    TElements& operator=(const TElements&) = delete;

    /// Appends a new all-zero element and returns it.
    TElement& Add();
    /// Inserts a new all-zero element before Index (0..Count); later ones move up.
    TElement& Insert(int Index);
    /// The element with this unique ID, or nullptr.
    TElement* FindItemID(int ID) const;

    /// The element at Index; EListError outside 0..Count-1.
    TElement& GetElement(int Index) const;
    /// Copies Value into the element at Index (the list keeps its own object).
    void SetElement(int Index, const TElement& Value);
    /// The element at Index, as GetElement.
    TElement& operator[](int Index) const { return GetElement(Index); }

    /// Number of elements, deleted ones included.
    int Count() const { return static_cast<int>(order_.size()); }
    /// Destroys every element; references to them become invalid.
    void Clear();
    /// Replaces the contents with copies of Source's elements (new identities).
    void Assign(const TElements& Source);
    /// Moves every element of Source, the same objects, to the end of this
    /// list, where they get new IDs; Source is left empty.
    void TakeFrom(TElements& Source);
    /// Reserves room for n elements in total (an optimisation for loaders).
    void Reserve(int n);

    /// The owner given at construction.
    QObject* GetOwner() const { return Owner_; }
    /// Advances whenever elements are added, removed, or change their type,
    /// slots, view, layer or line type: what an index of their places needs.
    std::uint64_t Generation() const { return generation_; }
    /// Advances the generation, for changes made around the setters.
    void Touch() { ++generation_; }
    /// The host's changed flag; the list never sets it itself.
    bool GetChanged() const { return Changed_; }
    /// Sets the host's changed flag.
    void SetChanged(bool Value) { Changed_ = Value; }

    /// Depth of the deletion stack.
    int DeleteCount() const { return static_cast<int>(deletions_.size()); }
    /// Records that Element was just deleted, so UndeleteLast can restore it.
    void RecordDeletion(TElement& Element);
    /// Restores the most recently deleted element that is still deleted;
    /// nothing when none is left.
    void UndeleteLast();

    // Iteration in list order.
    /// First element pointer in list order.
    auto begin() const { return order_.begin(); }
    /// End of the element pointers.
    auto end() const { return order_.end(); }

private:
    TElement& make(int index);

    QObject* Owner_ = nullptr;
    bool Changed_ = false;
    std::uint64_t generation_ = 0;
    int nextID_ = 0;
    std::vector<TElement*> order_;
    struct BlockFree {
        bool huge = false; ///< one huge page mapped for the block
        void operator()(unsigned char* block) const;
    };
    using Block = std::unique_ptr<unsigned char[], BlockFree>;
    static Block new_block(bool large);
    std::vector<Block> blocks_;
    std::size_t usedInLastBlock_ = 0;
    std::size_t lastBlockCapacity_ = 0;
    std::vector<TElement*> deletions_;
};

inline void TElement::changed()
{
    if (Collection_ != nullptr)
        Collection_->Touch();
}

} // namespace orvex
