// The built-in provider: the catalogue and value files of a data source directory.
#pragma once

#include "core/DataProvider.h"
#include "core/FileUtil.h"

#include <string>
#include <vector>

namespace zor {

class FileProvider {
public:
    // tmplist.ind lives in the data directory; group 10 gets `tempGroupName`.
    FileProvider(std::string dataDirectory, std::string tempGroupName);

    bool LoadRegionSets(const std::string& source, std::vector<RegionSet>& sets);
    bool LoadIndicatorGroups(const std::string& source, std::vector<IndicatorGroup>& groups);
    bool LoadTimePeriods(const std::string& source, std::vector<TimePeriod>& periods);
    // Fills the indicator list of groups[groupIndex]; fails when it is already filled.
    bool LoadGroupIndicators(const std::string& source, std::vector<IndicatorGroup>& groups,
                             int groupIndex, int groupId);

    void BeginValueReading();
    int ReadValues(float* dest, int setId, int periodCode, int indicatorCode,
                   const ValueRequest& request);
    void EndValueReading();

    // The operation table bound to this provider (which must outlive it).
    DataProvider Operations();

    // Why the last catalogue load failed (file and reason), empty when it did not.
    const std::string& LastError() const { return lastError_; }
    // Bytes delivered by ReadValues since construction.
    uint64_t BytesRead() const { return bytesRead_; }
    // Number of value files open in the cache.
    size_t CachedFiles() const { return cache_.size(); }

    static constexpr size_t CacheCapacity = 64;

private:
    bool Fail(const std::string& why);
    RandomAccessFile* OpenValueFile(const std::string& path);

    std::string dataDirectory_;
    std::string tempGroupName_;
    std::string lastError_;

    struct CachedFile {
        std::string path;
        RandomAccessFile file;
    };
    std::vector<CachedFile> cache_; // most recently opened first
    std::vector<char> scratch_;
    uint64_t bytesRead_ = 0;
};

} // namespace zor
