#include "ui/pictures/PictureInBox.h"

#include "ui/lists/LatestLoad.h"
#include "ui/pictures/PicturePipeline.h"
#include "ui/widgets/PictureBox.h"

void showPictureInBox(LatestLoad& load, PicturePipeline* pictures, const std::string& url, PictureBox* box) {
    if (!pictures || url.empty()) return;
    const PictureShape shape{box->size(), 0, box->devicePixelRatioF()};
    load.start([box, pictures, shape, url](const LatestLoad::Deliver& deliver) {
        QImage picture = pictures->load(url, shape);
        deliver([box, picture = std::move(picture)] { box->setPicture(picture); });
    });
}
