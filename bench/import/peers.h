// The tools users reduce a map image to its legend colours with by hand, when installed:
// ImageMagick's `convert -remap` and GDAL's rgb2pct.
#pragma once

#include <string>
#include <vector>

namespace quarn::bench {

struct Peer {
    std::string name;
    std::string extension;  // of the files it writes, with the dot
    // The command line that reduces image to the legend colours in output (a name with the
    // extension).
    std::vector<std::string> (*command)(const std::string& tool, const std::string& folder,
                                        const std::string& image, const std::string& output);
    std::string tool;  // its program, found on PATH; empty when not installed
};

/// ImageMagick's and GDAL's way, the tool of each looked up on PATH.
std::vector<Peer> FindPeers();

/// Writes what the peers read the legend colours from into folder: legend.png (one row of
/// them) and legendpalette.png (an indexed image whose palette they are).
void WritePeerPalettes(const std::string& folder);

/// Lets ImageMagick, for this process's children, use as much memory and disk as a large map
/// needs: Debian's policy caps it at 256 MiB of memory and 1 GiB of disk, under which an
/// 8000 x 8000 -remap fails. Writes policy.xml into folder and points MAGICK_CONFIGURE_PATH at it.
void LiftImageMagickLimits(const std::string& folder);

}  // namespace quarn::bench
