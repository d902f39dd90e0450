#include <OrvexGDI/Elements.h>

#include <cstdlib>
#include <iterator>
#include <new>
#include <string>
#include <type_traits>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace orvex {

namespace {
// Elements are placed in blocks; a block never moves. A list starts with
// small blocks; once it holds many elements it takes blocks of one huge
// page each, which a large load fills with a 512th of the page faults.
constexpr std::size_t kSmallBlockElements = 4096;
constexpr std::size_t kSmallBlocks = 8;
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kLargeBlockElements = kHugePage / sizeof(TElement);
static_assert(std::is_trivially_destructible_v<TElement>, "blocks are freed without destructor calls");

// A block of one huge page, mapped at a huge page's boundary so that the
// kernel can back it with one page; null where that is not to be had.
unsigned char* map_huge_block()
{
#ifdef __linux__
    void* mapped = mmap(nullptr, 2 * kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    auto* start = static_cast<unsigned char*>(mapped);
    const std::size_t head = (kHugePage - reinterpret_cast<std::uintptr_t>(start) % kHugePage) % kHugePage;
    if (head > 0)
        munmap(start, head);
    munmap(start + head + kHugePage, kHugePage - head);
    madvise(start + head, kHugePage, MADV_HUGEPAGE); // a hint: without it the block only fills slower
    return start + head;
#else
    return nullptr;
#endif
}

} // namespace

TElements::Block TElements::new_block(bool large)
{
    if (large) {
        if (unsigned char* block = map_huge_block())
            return {block, BlockFree{true}};
    }
    void* block = std::malloc((large ? kLargeBlockElements : kSmallBlockElements) * sizeof(TElement));
    if (block == nullptr)
        throw std::bad_alloc();
    return {static_cast<unsigned char*>(block), BlockFree{false}};
}

void TElements::BlockFree::operator()(unsigned char* block) const
{
#ifdef __linux__
    if (huge) {
        munmap(block, kHugePage);
        return;
    }
#endif
    std::free(block);
}

void TElement::Assign(const TElement* Source)
{
    if (Source == nullptr || Source == this)
        return;
    Etype_ = Source->Etype_;
    Color_ = Source->Color_;
    LineType_ = Source->LineType_;
    View_ = Source->View_;
    Layer_ = Source->Layer_;
    Highlight_ = Source->Highlight_;
    Deleted_ = Source->Deleted_;
    DeleteNumber_ = Source->DeleteNumber_;
    Tag_ = Source->Tag_;
    Coord_ = Source->Coord_;
    Image_ = Source->Image_;
    changed();
}

TElements::TElements(QObject* Owner) : Owner_(Owner) {}

TElements::~TElements() = default;

TElement& TElements::make(int index)
{
    if (blocks_.empty() || usedInLastBlock_ == lastBlockCapacity_) {
        // Every field is written when an element is placed, so the block is not zeroed first.
        const bool large = blocks_.size() >= kSmallBlocks;
        blocks_.push_back(new_block(large));
        usedInLastBlock_ = 0;
        lastBlockCapacity_ = large ? kLargeBlockElements : kSmallBlockElements;
    }
    void* place = blocks_.back().get() + usedInLastBlock_ * sizeof(TElement);
    ++usedInLastBlock_;
    return *new (place) TElement(this, nextID_++, index);
}

TElement& TElements::Add()
{
    TElement& element = make(Count());
    order_.push_back(&element);
    Touch();
    return element;
}

TElement& TElements::Insert(int Index)
{
    if (Index < 0 || Index > Count())
        throw EListError("list index out of bounds (" + std::to_string(Index) + ")");
    TElement& element = make(Index);
    order_.insert(order_.begin() + Index, &element);
    Touch();
    for (std::size_t i = static_cast<std::size_t>(Index) + 1; i < order_.size(); ++i)
        order_[i]->Index_ = static_cast<int>(i);
    return element;
}

TElement* TElements::FindItemID(int ID) const
{
    for (TElement* element : order_)
        if (element->ID_ == ID)
            return element;
    return nullptr;
}

TElement& TElements::GetElement(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError("list index out of bounds (" + std::to_string(Index) + ")");
    return *order_[static_cast<std::size_t>(Index)];
}

void TElements::SetElement(int Index, const TElement& Value) { GetElement(Index).Assign(&Value); }

void TElements::Clear()
{
    order_.clear();
    deletions_.clear();
    blocks_.clear();
    usedInLastBlock_ = 0;
    lastBlockCapacity_ = 0;
    Touch();
}

void TElements::Assign(const TElements& Source)
{
    if (&Source == this)
        return;
    Clear();
    Reserve(Source.Count());
    for (const TElement* element : Source.order_)
        Add().Assign(element);
}

void TElements::TakeFrom(TElements& Source)
{
    if (&Source == this)
        return;
    order_.reserve(order_.size() + Source.order_.size());
    for (TElement* element : Source.order_) {
        element->Collection_ = this;
        element->ID_ = nextID_++;
        element->Index_ = Count();
        order_.push_back(element);
    }
    // The source's blocks go in front, so this list keeps filling its own
    // last block; a list that had none takes the source's last block, and
    // with it how much of that block is used.
    if (blocks_.empty()) {
        usedInLastBlock_ = Source.usedInLastBlock_;
        lastBlockCapacity_ = Source.lastBlockCapacity_;
    }
    blocks_.insert(blocks_.begin(), std::make_move_iterator(Source.blocks_.begin()),
                   std::make_move_iterator(Source.blocks_.end()));
    // Deletions recorded in the source still name live elements, now ours.
    deletions_.insert(deletions_.end(), Source.deletions_.begin(), Source.deletions_.end());
    Touch();
    Source.Touch();
    Source.order_.clear();
    Source.blocks_.clear();
    Source.deletions_.clear();
    Source.usedInLastBlock_ = 0;
    Source.lastBlockCapacity_ = 0;
}

void TElements::Reserve(int n)
{
    if (n > 0)
        order_.reserve(static_cast<std::size_t>(n));
}

void TElements::RecordDeletion(TElement& Element) { deletions_.push_back(&Element); }

void TElements::UndeleteLast()
{
    // Entries whose element was restored some other way meanwhile are
    // passed over, so each call brings back one element that is deleted.
    while (!deletions_.empty()) {
        TElement* element = deletions_.back();
        deletions_.pop_back();
        if (element->Deleted_) {
            element->Deleted_ = false;
            return;
        }
    }
}

} // namespace orvex
