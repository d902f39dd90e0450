// Sequences of host operations run on a real drawing control and on the
// reference model side by side, compared after every step. A sequence is
// drawn from a source of choices (a seeded generator or a fuzzer's bytes);
// a failing one is shrunk to the fewest operations that still fail and
// printed as the C++ calls a host would make.
#pragma once

#include "drawing_model.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace orvex::model {

enum class OpKind : std::uint8_t {
    SetAttributes,
    MakePoint,
    MakeLine,
    MakeArc,
    MakeCircle,
    MakeEllipse,
    MakeRect,
    MakeClipRect,
    DrawLine,
    DrawElement,
    AddToGroup,
    ClearGroup,
    DeleteGroup,
    RotateGroup,
    ShiftGroup,
    RotateElement,
    ShiftElement,
    NewOrigin,
    SetIsDeleted,
    UndeleteLast,
    SetElement,
    Insert,
    Add,
    ClearElements,
    SetExtents,
    ShowLayer,
    SaveAndLoad,
    SaveAndMerge,
    LoadSample,
    MergeSample,
    SetView,
    RotateView,
    ZoomAll,
    ZoomDouble,
    ZoomHalf,
    ZoomLast,
    Pan,
    ZoomWindow,
    Pick,
    Count
};

// One operation with its arguments; what each number means depends on the kind.
struct Op {
    OpKind kind = OpKind::ClearGroup;
    int n[4] = {};
    double d[6] = {};
};

// Where the choices of a sequence come from.
class ChoiceSource {
public:
    virtual ~ChoiceSource() = default;
    // A whole number in 0 .. count - 1.
    virtual int below(int count) = 0;
    // False once a fuzzer's bytes are used up.
    virtual bool more() const { return true; }
};

class SeededChoices : public ChoiceSource {
public:
    explicit SeededChoices(std::uint32_t seed) : engine_(seed) {}
    int below(int count) override { return std::uniform_int_distribution<int>(0, count - 1)(engine_); }

private:
    std::mt19937 engine_;
};

class ByteChoices : public ChoiceSource {
public:
    ByteChoices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    int below(int count) override;
    bool more() const override { return at_ < size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A control and the model, run in step.
class SequenceRun {
public:
    // Files the operations save and load go to Folder.
    explicit SequenceRun(const QString& Folder);
    ~SequenceRun();

    // An operation chosen for the present state.
    Op next(ChoiceSource& choices) const;
    // Runs Op on both; the first difference found afterwards, if any.
    std::optional<std::string> apply(const Op& op);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The operations as a host's C++ calls on a control named c.
std::string as_cpp(const std::vector<Op>& ops);

struct Failure {
    std::vector<Op> ops; // shrunk: no operation can be left out
    std::string difference;
};

// Runs up to MaxOps operations drawn from Choices; on a difference, shrinks
// the sequence and returns it.
std::optional<Failure> run_and_shrink(ChoiceSource& choices, int MaxOps, const QString& Folder);

} // namespace orvex::model
