#include "app/document.h"

#include "mfd/record.h"

namespace cadenzo {

int HeaderRecordCount(const Document& doc) {
  if (doc.FileBytes.size() < mfd::kHeaderSize) return 0;
  return HeaderCount(doc.FileBytes);
}

}  // namespace cadenzo
