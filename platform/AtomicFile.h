#pragma once
// A file that is replaced only by its complete new content. The text goes to
// a temporary file of its own in the same folder (so two runs writing the
// same path never mix); Commit flushes it to the disk and renames it over
// the path in one step. On every other way out, a failure or an exception,
// the temporary file is removed and whatever the path held stays as it was.

#include <cstdio>
#include <string>

namespace talver {

class AtomicFile {
public:
    // Nothing is created until Open.
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file. False, with the reason in `error`, when the
    // folder is missing or cannot be written.
    bool Open(std::string& error);
    // Where the text goes while the file is open.
    std::FILE* Stream() const { return stream_; }
    // Writes the text to the disk, closes it and puts it in place of the
    // path (of the file a symbolic link names, if the path is one). False,
    // with the reason in `error`, when any of it fails; the temporary file is
    // then gone and the path unchanged.
    bool Commit(std::string& error);
    // Removes the temporary file; the path stays as it was.
    void Discard();

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    // The file that is replaced: the path, or what its symbolic link names.
    std::string finalPath_;
    std::string temporaryPath_;
    std::FILE* stream_ = nullptr;
    // Where the temporary path is registered for RemoveOpenTemporaryFiles.
    int slot_ = -1;
};

// Removes the temporary file of every open AtomicFile at once, for a process
// that must end without unwinding: only calls that a signal handler may make.
void RemoveOpenTemporaryFiles() noexcept;

} // namespace talver
