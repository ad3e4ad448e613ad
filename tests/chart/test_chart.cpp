// The chart module's tests in one executable: the loader and its field reader, the filter
// list and the navigation rules, each its own test class.
int runChartLoaderTests(int argc, char** argv);
int runFilterListTests(int argc, char** argv);
int runNavigationTests(int argc, char** argv);
int runRecordFieldsTests(int argc, char** argv);

int main(int argc, char** argv)
{
    int failed = 0;
    failed += runChartLoaderTests(argc, argv);
    failed += runFilterListTests(argc, argv);
    failed += runNavigationTests(argc, argv);
    failed += runRecordFieldsTests(argc, argv);
    return failed;
}
