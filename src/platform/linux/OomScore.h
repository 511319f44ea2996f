#pragma once
// The process's out-of-memory score while a free claims memory. A child
// inherits the score of its parent for its whole life: a program started
// during a free would be the kernel's first choice long after the free. The
// launch paths start their children with the ordinary score.
#include <string>
#include <utility>

// The score before the offer (empty: no offer is in force).
void SetOrdinaryOomScore(std::string score);
const std::string& OrdinaryOomScore();
// Writes the process's score.
void WriteOomScore(const std::string& score);

// Runs launch with the process back at its ordinary score, so the child it
// starts inherits that; the offer is made again after.
template <typename Launch> auto WithOrdinaryOomScore(Launch&& launch) {
    const std::string& ordinary = OrdinaryOomScore();
    if (ordinary.empty()) {
        return std::forward<Launch>(launch)();
    }
    WriteOomScore(ordinary);
    auto result = std::forward<Launch>(launch)();
    WriteOomScore("1000");
    return result;
}
