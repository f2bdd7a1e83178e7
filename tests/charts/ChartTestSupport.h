// Shared pieces of the chart tests: the view test support and the reference recordings of
// tests/charts/data.
#pragma once

#include "tests/support/Reference.h"
#include "tests/support/StartedStore.h"
#include "tests/support/ViewTestSupport.h"

#include <string>

namespace zor::charts::test {

using zor::test::Country;
using zor::test::CountrySelection;
using zor::test::Lines;
using zor::test::MakeTestView;
using zor::test::OpenView;
using zor::test::RecordingHost;
using zor::test::StartedStore;

// Compares with a committed recording of tests/charts/data.
inline void ExpectReference(const std::string& name, const std::string& recording) {
    zor::test::ExpectReferenceIn(ZOR_CHARTS_TEST_DATA, name, recording);
}

} // namespace zor::charts::test
