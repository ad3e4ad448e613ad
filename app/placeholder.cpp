// The window's code joins this library as it is written.
namespace kvaro {
int appLibraryAnchor = 0;
}
