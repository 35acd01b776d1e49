// An in-memory file system whose every step can fail: a failed step leaves
// the files as a real one would (a temporary file is only what was written to
// it; the target changes only by Replace). As on Windows, a file that a writer
// holds open can be neither replaced nor deleted.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "fakes/fake_toolkit.h"
#include "settings/file_port.h"
#include "watch/ports.h"

class FakeFileSystem : public ISettingsFiles, public IFolderProbe {
public:
    using Path = FilePath;
    using Key = FilePath;

    // A folder test answers through answerLoop once it has waited
    // answerDelay (by normalised path; 0 for one not listed), telling what
    // folders hold then; a folder in held never answers.
    void Listen(IFolderAnswerSink* sink) override { this->sink = sink; }
    void Begin(std::uint32_t ticket, const std::string& path) override;
    OpenedFile<IFileReader> OpenRead(const Path& path) override;
    OpenedFile<IFileWriter> CreateTempBeside(const Path& path) override;
    FileStatus Replace(const Path& tempPath, const Path& path) override;
    bool Delete(const Path& path) override;

    // Paths compare case-insensitively on ASCII letters, as on Windows.
    std::map<Key, std::string> files;   // FileKey(path) -> content
    std::set<std::string> folders;      // normalised paths, no trailing "\"
    std::set<Key> readOnly;             // FileKey of read-only files
    std::multiset<Key> openForWriting;  // FileKey of files a writer holds open

    bool FileExists(const Path& path) const;
    void PutFile(const Path& path, const std::string& content);
    void PutFolder(const std::string& path);
    std::optional<std::string> Content(const Path& path) const;
    static std::string Normal(const std::string& path);
    // An ASCII path's characters as bytes; "?" for any other.
    static std::string Narrow(const Path& path);
    // The path's own characters, ASCII letters in lower case; no conversion.
    static Key FileKey(const Path& path);

    // Failure injection: each step fails when its flag is set, giving reason.
    std::string reason = "the fake refused";
    bool failOpen = false;
    int readsBeforeError = -1;     // Read succeeds this often, then fails (-1: never)
    std::size_t readChunk = 4096;  // at most this many bytes a Read
    bool failCreate = false;
    int writesBeforeError = -1;  // Write succeeds this often, then fails
    bool failFlush = false;
    bool failReplace = false;
    bool readOnlyMeanwhile = false;  // the target made read-only once a temporary file is made
    bool failDelete = false;

    // Folder tests.
    FakeEventLoop* answerLoop = nullptr;
    IFolderAnswerSink* sink = nullptr;
    std::map<std::string, std::uint32_t> answerDelay;
    std::set<std::string> held;
    std::map<std::string, int> testsBegun;  // by normalised path

    // Inspection.
    int openReaders = 0;  // readers not yet destroyed
    int openWriters = 0;
    int tempCount = 0;

    FileStatus Failure() const { return {FileStatus::Code::Failed, reason}; }
};
