// The queue of files the next print job sends: full paths and their display names, in step.
#pragma once
#include <string>
#include <vector>

namespace pelto {

class FileQueue {
public:
    // Appends the path exactly as received and its file-name part as the display name.
    void Add(const std::string& path);
    void RemoveAt(std::size_t index);
    void Clear();

    std::size_t Count() const { return FileList.size(); }
    const std::string& Path(std::size_t i) const { return FileList[i]; }
    const std::string& Name(std::size_t i) const { return Names[i]; }

private:
    std::vector<std::string> FileList;
    std::vector<std::string> Names;
};

} // namespace pelto
