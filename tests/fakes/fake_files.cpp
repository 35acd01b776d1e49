#include "fakes/fake_files.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

class FakeReader : public IFileReader {
public:
    FakeReader(FakeFileSystem& fs, std::string content) : fs_(fs), content_(std::move(content)) {
        ++fs_.openReaders;
    }
    ~FakeReader() override { --fs_.openReaders; }
    FileStatus Read(char* buffer, std::size_t size, std::size_t& got) override {
        got = 0;
        if (fs_.readsBeforeError == 0) return fs_.Failure();
        if (fs_.readsBeforeError > 0) --fs_.readsBeforeError;
        got = std::min({size, fs_.readChunk, content_.size() - pos_});
        if (got) std::memcpy(buffer, content_.data() + pos_, got);
        pos_ += got;
        return {};
    }

private:
    FakeFileSystem& fs_;
    std::string content_;
    std::size_t pos_ = 0;
};

class FakeWriter : public IFileWriter {
public:
    FakeWriter(FakeFileSystem& fs, FilePath path) : fs_(fs), path_(std::move(path)) {
        ++fs_.openWriters;
        fs_.files[FakeFileSystem::FileKey(path_)] = "";
        fs_.openForWriting.insert(FakeFileSystem::FileKey(path_));
    }
    ~FakeWriter() override {
        --fs_.openWriters;
        Close();
    }
    FileStatus Write(const std::string& bytes) override {
        if (closed_) return fs_.Failure();
        if (fs_.writesBeforeError == 0) return fs_.Failure();
        if (fs_.writesBeforeError > 0) --fs_.writesBeforeError;
        auto it = fs_.files.find(FakeFileSystem::FileKey(path_));
        if (it == fs_.files.end()) return fs_.Failure();
        it->second += bytes;
        return {};
    }
    // Closes even when the flush fails, as a handle is closed either way.
    FileStatus FlushAndClose() override {
        if (closed_) return fs_.Failure();
        Close();
        return fs_.failFlush ? fs_.Failure() : FileStatus{};
    }
    const FilePath& Path() const override { return path_; }

private:
    void Close() {
        if (closed_) return;
        closed_ = true;
        fs_.openForWriting.erase(fs_.openForWriting.find(FakeFileSystem::FileKey(path_)));
    }

    FakeFileSystem& fs_;
    FilePath path_;
    bool closed_ = false;
};

}  // namespace

std::string FakeFileSystem::Normal(const std::string& path) {
    std::string out = path;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (out.size() > 1 && out.back() == '\\') out.pop_back();
    return out;
}

std::string FakeFileSystem::Narrow(const Path& path) {
    std::string out;
    for (const auto c : path) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

FakeFileSystem::Key FakeFileSystem::FileKey(const Path& path) {
    Key out = path;
    for (auto& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<Path::value_type>(c - 'A' + 'a');
    }
    return out;
}

bool FakeFileSystem::FileExists(const Path& path) const { return files.count(FileKey(path)) != 0; }

void FakeFileSystem::Begin(std::uint32_t ticket, const std::string& path) {
    const std::string normal = Normal(path);
    ++testsBegun[normal];
    if (held.count(normal) != 0) return;
    const auto delay = answerDelay.find(normal);
    answerLoop->Post(
        [this, ticket, normal] {
            if (sink) sink->OnFolderAnswer(ticket, folders.count(normal) != 0);
        },
        delay == answerDelay.end() ? 0 : delay->second);
}

OpenedFile<IFileReader> FakeFileSystem::OpenRead(const Path& path) {
    auto it = files.find(FileKey(path));
    if (it == files.end()) return {nullptr, {FileStatus::Code::Absent, {}}};
    if (failOpen) return {nullptr, Failure()};
    return {std::make_unique<FakeReader>(*this, it->second), {}};
}

OpenedFile<IFileWriter> FakeFileSystem::CreateTempBeside(const Path& path) {
    if (readOnly.count(FileKey(path))) return {nullptr, {FileStatus::Code::ReadOnly, {}}};
    if (failCreate) return {nullptr, Failure()};
    // "~" and a number in place of the name, never longer than it.
    const Path name =
        path.substr(0, path.find_last_of(L"\\") + 1) + L"~" + std::to_wstring(++tempCount);
    if (name.size() > path.size()) return {nullptr, Failure()};
    if (readOnlyMeanwhile) readOnly.insert(FileKey(path));
    return {std::make_unique<FakeWriter>(*this, name), {}};
}

FileStatus FakeFileSystem::Replace(const Path& tempPath, const Path& path) {
    auto t = files.find(FileKey(tempPath));
    if (readOnly.count(FileKey(path))) return {FileStatus::Code::ReadOnly, {}};
    if (failReplace || t == files.end() || openForWriting.count(FileKey(tempPath)) ||
        openForWriting.count(FileKey(path)) || folders.count(Normal(Narrow(path)))) {
        return Failure();
    }
    files[FileKey(path)] = t->second;
    files.erase(FileKey(tempPath));
    return {};
}

bool FakeFileSystem::Delete(const Path& path) {
    if (failDelete || readOnly.count(FileKey(path)) || openForWriting.count(FileKey(path))) {
        return false;
    }
    return files.erase(FileKey(path)) != 0;
}

void FakeFileSystem::PutFile(const Path& path, const std::string& content) {
    files[FileKey(path)] = content;
}

void FakeFileSystem::PutFolder(const std::string& path) { folders.insert(Normal(path)); }

std::optional<std::string> FakeFileSystem::Content(const Path& path) const {
    auto it = files.find(FileKey(path));
    if (it == files.end()) return std::nullopt;
    return it->second;
}
