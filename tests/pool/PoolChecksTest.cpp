// What the pool takes from people: IMEIs, addresses and names that end up in a spreadsheet.
#include <gtest/gtest.h>

#include <fstream>

#include "TemporaryDirectory.h"
#include "pool/ImeiCheck.h"
#include "pool/ImeiImport.h"
#include "pool/ImeiPool.h"
#include "pool/PoolAddress.h"
#include "pool/ProductionRecord.h"

namespace tolvane::testing {
namespace {

TEST(ImeiCheck, luhnDigitDecidesAndOtherTextIsNoImei) {
  EXPECT_EQ(ImeiProblem("490154203237518"), "");
  EXPECT_EQ(ImeiProblem("356938035643809"), "");
  EXPECT_EQ(ImeiProblem("490154203237517"), "has a wrong check digit (it would end in 8)");
  EXPECT_EQ(ImeiProblem("49015420323751"), "is not an IMEI of 15 digits");
  EXPECT_EQ(ImeiProblem("49015420323751x"), "is not an IMEI of 15 digits");
  EXPECT_EQ(ImeiCheckDigit("00000000000000"), '0');
}

TEST(PoolAddress, pathsAndWellFormedUrlsOnly) {
  std::string error;
  auto address = ParsePoolAddress("postgresql://line@db.factory.lan:6543/imeis", error);
  ASSERT_TRUE(address) << error;
  EXPECT_EQ(address->kind, CPoolAddress::EKind::PostgreSQL);
  EXPECT_EQ(address->user, "line");
  EXPECT_EQ(address->host, "db.factory.lan");
  EXPECT_EQ(address->port, 6543);
  EXPECT_EQ(address->database, "imeis");
  EXPECT_EQ(ParsePoolAddress("postgresql://line@db/imeis", error)->port, 5432);
  EXPECT_EQ(ParsePoolAddress("bench 2/pool.db", error)->path, "bench 2/pool.db");

  for (const char* malformed :
       {"postgresql://db/imeis", "postgresql://line@db", "postgresql://line@:5432/imeis", "postgresql://line@db:x/i",
        "postgresql://line@db:70000/imeis", "mysql://line@db/imeis", "postgresql://li'ne@db/imeis", ""})
    EXPECT_FALSE(ParsePoolAddress(malformed, error)) << malformed;
  EXPECT_FALSE(ParsePoolAddress("postgresql://line:s3cret@db/imeis", error));
  EXPECT_NE(error.find("PGPASSWORD"), std::string::npos);
  EXPECT_EQ(error.find("s3cret"), std::string::npos);

  // Mistyped URLs are no file names, and their passwords are not quoted back.
  for (const char* mistyped : {"postgresql:line:s3cret@db", "postgresql:/line:s3cret@db/imeis", "Postgres:/x"}) {
    EXPECT_FALSE(ParsePoolAddress(mistyped, error)) << mistyped;
    EXPECT_EQ(error.find("s3cret"), std::string::npos) << error;
  }
  // A pool in memory keeps nothing; an SQLite URI is not read as a file name.
  for (const char* notAFile : {":memory:", "file:pool.db?mode=memory", "file:uri2.sqlite"})
    EXPECT_FALSE(ParsePoolAddress(notAFile, error)) << notAFile;
  EXPECT_FALSE(ParsePoolAddress("postgresql://line@db/imeis?sslmode=require", error));
  EXPECT_NE(error.find("PGSSLMODE"), std::string::npos) << error;
}

TEST(SqlitePool, aFileThatIsNoDatabase_saysWhatTheEngineSaid) {
  CTemporaryDirectory directory;
  CPoolAddress address;
  address.path = address.shown = directory.FilePath("pool.db");
  std::ofstream(address.path) << std::string(4096, 'x');
  std::string error;
  auto pool = CImeiPool::Open(address, false, error);
  ASSERT_TRUE(pool) << error;
  EXPECT_FALSE(pool->IsPool(error));
  EXPECT_NE(error.find("file is not a database"), std::string::npos) << error;
  EXPECT_EQ(error.find("not an IMEI pool"), std::string::npos) << error;
}

TEST(ImeiImport, aByteOrderMarkIsSkipped_aNulOrAHugeLineIsNamedBriefly) {
  CTemporaryDirectory directory;
  const std::string path = directory.FilePath("imeis.csv");
  const auto import = [&path](const std::string& text, std::string& error) {
    std::ofstream(path, std::ios::binary) << text;
    return ReadImeiImport(path, error);
  };
  std::string error;
  const auto imeis = import("\xEF\xBB\xBF" "490154203237518\r\n356938035643809\r\n", error);
  ASSERT_TRUE(imeis) << error;
  EXPECT_EQ(imeis->size(), 2u);
  EXPECT_FALSE(import(std::string("490154203237518\n35693803\0" "5643809\n", 32), error));
  EXPECT_EQ(error, path + ":2: the line holds a NUL byte; nothing was imported");
  EXPECT_FALSE(import(std::string(1 << 20, '7') + "\n", error));
  EXPECT_LT(error.size(), 200u) << error.substr(0, 200);
}

TEST(ProductionRecord, quotesWhatWouldBreakACellAndDisarmsFormulas) {
  CPoolRecord record;
  record.imei = "490154203237518";
  record.station = "bench \"2\"; east, upstairs";
  record.detail = "=HYPERLINK(\"x\")";
  record.port = "\t=1+1";
  const std::string csv = ProductionRecordCsv({record});
  EXPECT_NE(csv.find("490154203237518,,\"bench \"\"2\"\"; east, upstairs\","), std::string::npos) << csv;
  EXPECT_NE(csv.find("\"'=HYPERLINK(\"\"x\"\")\""), std::string::npos) << csv;
  EXPECT_NE(csv.find(",'\t=1+1,"), std::string::npos) << csv;
}

}  // namespace
}  // namespace tolvane::testing
