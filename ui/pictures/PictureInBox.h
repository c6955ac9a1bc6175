#pragma once
// A picture from the pipeline shown in a picture box: loaded on a background
// task at the box's size and pixel ratio, and shown only if no newer load of
// the same `load` has started since.
#include <string>

class LatestLoad;
class PictureBox;
class PicturePipeline;

// Nothing loads without a pipeline or an address; the box keeps what it shows.
void showPictureInBox(LatestLoad& load, PicturePipeline* pictures, const std::string& url, PictureBox* box);
