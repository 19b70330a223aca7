#pragma once
// What the page asks of the engine. Each command takes the page's choices as
// a talver-batch command line, so that the page and talver-batch share one
// set of rules, messages and results.

#include <string>
#include <vector>

namespace talver {

// Reads the data and confirms both dialogs without computing (with
// `compute`, also computes and writes the outputs the command line names).
// Returns talver-batch's exit status; messages go to stderr.
int RunPageCommand(const std::vector<std::string>& arguments, bool compute);

struct PreviewRequest {
    std::string path;
    // As --delimiter takes it; empty to guess.
    std::string delimiter;
    // A typed item list, to mark its columns; may be empty.
    std::string items;
    // The missing codes declared, left out of the codes suggested.
    std::string missing;
    // A group column, to list its values; may be empty.
    std::string group;
    int rows = 20;
};

// Writes to `out` a JSON description of a file with column names: its
// columns, its first rows as written, its number of rows, the columns of the
// item list with the scores in them that look like missing codes, and the
// values of the group column with their counts; or the reader's message.
void WritePreview(const PreviewRequest& request, const std::string& out);

} // namespace talver
