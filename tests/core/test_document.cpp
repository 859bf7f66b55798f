#include <gtest/gtest.h>
#include "core/document.h"
TEST(Document, Placeholder) { qv::RomDocument d; EXPECT_FALSE(d.isOpen()); }
