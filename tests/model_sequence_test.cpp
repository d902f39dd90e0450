// Seeded random sequences of host operations (loads, merges, makes, group
// edits, deletions, saves and reloads in every format, zooms and picks) run
// on a control and on the reference model, compared after every step. A
// failure prints the shortest failing sequence as C++ calls.
#include "sequence.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvex::model;

TEST(ModelSequence, RandomSequencesAgreeWithTheModel)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        SeededChoices choices(seed);
        if (const auto failure = run_and_shrink(choices, 120, folder.path()))
            ADD_FAILURE() << "seed " << seed << ", " << failure->difference << "\nshortest sequence:\n"
                          << as_cpp(failure->ops);
    }
}
