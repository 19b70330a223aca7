#pragma once
// Files that are replaced only by their complete new content, alone or as a
// set. The text goes to a temporary file of its own in the same folder (so
// two runs writing the same path never mix); Finish flushes it to the disk,
// and ReplaceTogether renames every finished file of a set over its path
// under a lock on the first one's folder, so that two runs writing the same
// set leave all the files of one run. On every other way out, a failure or an
// exception, the temporary file is removed and whatever the path held stays
// as it was.
//
// A temporary file's name holds the id of the process that made it, so that
// a later run can remove those a killed process left (RemoveStaleTemporaries).

#include <cstdio>
#include <string>
#include <vector>

namespace talver {

class AtomicFile {
public:
    // Nothing is created until Open.
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Removes the stale temporary files of the path, then creates its own.
    // False, with the reason in `error`, when the folder is missing or
    // cannot be written.
    bool Open(std::string& error);
    // Where the text goes while the file is open.
    std::FILE* Stream() const { return stream_; }
    // Writes the text to the disk and closes it, ready for ReplaceTogether.
    // False, with the reason in `error`, when that fails; the temporary file
    // is then gone.
    bool Finish(std::string& error);
    // Removes the temporary file; the path stays as it was.
    void Discard();

    const std::string& Path() const { return path_; }

private:
    friend bool ReplaceTogether(const std::vector<AtomicFile*>& files, std::string& error,
                                const AtomicFile*& failed);
    bool Replace(std::string& error);

    std::string path_;
    // The file that is replaced: the path, or what its symbolic links name.
    std::string finalPath_;
    std::string temporaryPath_;
    std::FILE* stream_ = nullptr;
    bool finished_ = false;
    // Where the temporary path is registered for RemoveOpenTemporaryFiles.
    int slot_ = -1;
};

// Puts every file of the set, each finished, in place of its path (of the
// file its symbolic links name, if the path is one), holding a lock on the
// first file's folder while it renames them. False when a rename fails:
// `failed` is that file and `error` the reason; the files before it are in
// place, those after it removed.
bool ReplaceTogether(const std::vector<AtomicFile*>& files, std::string& error, const AtomicFile*& failed);

// Removes the temporary file of every open AtomicFile at once, for a process
// that must end without unwinding: only calls that a signal handler may make.
void RemoveOpenTemporaryFiles() noexcept;

} // namespace talver
