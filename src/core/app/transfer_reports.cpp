#include "core/app/transfer_reports.h"

#include "core/device/command_set.h"
#include "core/files/firmware_patch.h"

namespace korvex48 {
namespace {

// The macro storage moves in 256-byte halves and pages; reads and writes of
// it show the pop-up equally often.
constexpr std::size_t kStorageHalf = 256;
// Each flow shows the pop-up once before its first report.
constexpr int kFlowStart = 1;

int MacroStorageReports(StorageLayout layout) {
  const int area = 2 * ReadReplyCount(kStorageHalf);  // packed area or names table
  switch (layout) {
    case StorageLayout::kPacked:
      return area;
    case StorageLayout::kSlot:
      return area + static_cast<int>(kMacroPageCount) * ReadReplyCount(kMacroPageSize);
    case StorageLayout::kNone:
      break;
  }
  return 0;
}

}  // namespace

int WholeImageReadReports(StorageLayout layout) {
  return kFlowStart + ReadReplyCount(kParameterSectionSize) + ReadReplyCount(kProfileSectionSize) +
         MacroStorageReports(layout);
}

int WholeImageWriteReports(StorageLayout layout) {
  return kFlowStart + SectionWriteReportCount(kParameterBlock, kParameterSectionSize) +
         SectionWriteReportCount(kProfileBlock, kProfileSectionSize) +
         MemoryWriteDataReportCount(kCustomerIdSize) + MacroStorageReports(layout);
}

int MacroSaveReports(StorageLayout layout) {
  return kFlowStart + SectionWriteReportCount(kProfileBlock, kProfileSectionSize) +
         MacroStorageReports(layout);
}

int FirmwareReports() {
  return kFlowStart + MemoryWriteDataReportCount(kPatchCodeSize) +
         MemoryWriteDataReportCount(std::tuple_size_v<PatchDescriptor>);
}

}  // namespace korvex48
