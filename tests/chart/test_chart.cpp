// The chart module's tests in one executable: the loader and its field reader, the filter
// list, the navigation rules, opening a cycle, event markers and the cursors' figures, each
// its own test class.
int runChartLoaderTests(int argc, char** argv);
int runCursorStatsTests(int argc, char** argv);
int runEventMarkerTests(int argc, char** argv);
int runFilterListTests(int argc, char** argv);
int runNavigationTests(int argc, char** argv);
int runOpenedCycleTests(int argc, char** argv);
int runRecordFieldsTests(int argc, char** argv);

int main(int argc, char** argv)
{
    int failed = 0;
    failed += runChartLoaderTests(argc, argv);
    failed += runCursorStatsTests(argc, argv);
    failed += runEventMarkerTests(argc, argv);
    failed += runFilterListTests(argc, argv);
    failed += runNavigationTests(argc, argv);
    failed += runOpenedCycleTests(argc, argv);
    failed += runRecordFieldsTests(argc, argv);
    return failed;
}
