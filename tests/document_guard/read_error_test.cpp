// A stream that cannot be read, on hosts whose C library opens a directory
// as a stream and fails its reads (the case that made xpath-eval size its
// buffer from a directory): a read failure with the system's reason, before
// TinyXML sees the stream.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include <tinyxml.h>

#include "document_guard/guarded_load.hpp"

TEST(guarded_load_read_error, a_directory_stream_is_a_read_failure) {
    std::FILE* directory = std::fopen(std::filesystem::temp_directory_path().string().c_str(), "rb");
    ASSERT_NE(directory, nullptr);
    TiXmlDocument document;
    document_guard::load_report report = document_guard::load_guarded(document, directory);
    std::fclose(directory);
    EXPECT_EQ(report.outcome, document_guard::load_outcome::read_failed);
    EXPECT_EQ(report.read_error, EISDIR);
}
