// --shard K/N: the share of a batch's documents one process runs, so that a scheduler (GNU
// parallel, a Slurm array job, a Kubernetes Indexed Job) can spread a manifest over several
// processes and machines with no coordinator of ours.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace folvane::cli {

struct Shard {
    std::size_t index = 0; // K, 0 <= K < N
    std::size_t count = 1; // N
    // Whether the document with this index (0-based, over the manifest's document lines) is
    // this shard's.
    bool takes(std::size_t document) const { return document % count == index; }
};

// Parses "K/N". K is a number, or the name of an environment variable that holds it (such as
// JOB_COMPLETION_INDEX, which a Kubernetes Indexed Job sets, or SLURM_ARRAY_TASK_ID); N is a
// number from 1 up. nullopt with `reason` set when the text or the variable is none.
std::optional<Shard> parseShard(const std::string &text, std::string &reason);

} // namespace folvane::cli
