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
    std::optional<std::size_t> Read(char* buffer, std::size_t size) override {
        if (fs_.readsBeforeError == 0) return std::nullopt;
        if (fs_.readsBeforeError > 0) --fs_.readsBeforeError;
        std::size_t n = std::min({size, fs_.readChunk, content_.size() - pos_});
        if (n) std::memcpy(buffer, content_.data() + pos_, n);
        pos_ += n;
        return n;
    }

private:
    FakeFileSystem& fs_;
    std::string content_;
    std::size_t pos_ = 0;
};

class FakeWriter : public IFileWriter {
public:
    FakeWriter(FakeFileSystem& fs, std::filesystem::path path) : fs_(fs), path_(std::move(path)) {
        ++fs_.openWriters;
        fs_.files[FakeFileSystem::FileKey(path_)] = "";
    }
    ~FakeWriter() override { --fs_.openWriters; }
    bool Write(const std::string& bytes) override {
        if (closed_) return false;
        if (fs_.writesBeforeError == 0) return false;
        if (fs_.writesBeforeError > 0) --fs_.writesBeforeError;
        auto it = fs_.files.find(FakeFileSystem::FileKey(path_));
        if (it == fs_.files.end()) return false;
        it->second += bytes;
        return true;
    }
    bool FlushAndClose() override {
        if (closed_) return false;
        closed_ = true;
        return !fs_.failFlush;
    }
    const std::filesystem::path& Path() const override { return path_; }

private:
    FakeFileSystem& fs_;
    std::filesystem::path path_;
    bool closed_ = false;
};

}  // namespace

std::string FakeFileSystem::Normal(const std::string& path) {
    std::string out = path;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (out.size() > 1 && out.back() == '\\') out.pop_back();
    return out;
}

FakeFileSystem::Key FakeFileSystem::FileKey(const Path& path) {
    Key out = path.native();
    for (auto& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<Path::value_type>(c - 'A' + 'a');
    }
    return out;
}

bool FakeFileSystem::FileExists(const Path& path) { return files.count(FileKey(path)) != 0; }

bool FakeFileSystem::FolderExists(const std::string& path) {
    return folders.count(Normal(path)) != 0;
}

std::unique_ptr<IFileReader> FakeFileSystem::OpenRead(const Path& path) {
    auto it = files.find(FileKey(path));
    if (failOpen || it == files.end()) return nullptr;
    return std::make_unique<FakeReader>(*this, it->second);
}

std::unique_ptr<IFileWriter> FakeFileSystem::CreateTempBeside(const Path& path) {
    if (failCreate) return nullptr;
    Path name = path;
    name += ".tmp" + std::to_string(++tempCount);
    return std::make_unique<FakeWriter>(*this, name);
}

bool FakeFileSystem::Replace(const Path& tempPath, const Path& path) {
    auto t = files.find(FileKey(tempPath));
    if (failReplace || t == files.end() || readOnly.count(FileKey(path))) return false;
    files[FileKey(path)] = t->second;
    files.erase(FileKey(tempPath));
    return true;
}

bool FakeFileSystem::Delete(const Path& path) {
    if (failDelete || readOnly.count(FileKey(path))) return false;
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
