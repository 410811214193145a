#include "file_queue.h"

#include "path_parts.h"

namespace pelto {

void FileQueue::Add(const std::string& path)
{
    FileList.push_back(path);
    Names.push_back(ExtractFileName(path));
}

void FileQueue::RemoveAt(std::size_t index)
{
    FileList.erase(FileList.begin() + static_cast<std::ptrdiff_t>(index));
    Names.erase(Names.begin() + static_cast<std::ptrdiff_t>(index));
}

void FileQueue::Clear()
{
    FileList.clear();
    Names.clear();
}

} // namespace pelto
