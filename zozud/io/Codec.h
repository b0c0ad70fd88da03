// The codec interfaces of cIO: objects that turn the bytes of a memory file
// into images, models, animations and cameras and back. The facade keeps one
// registry per kind, keyed by file extension (compared ignoring letter case,
// the first registration of an extension wins), and owns every codec it took.
// A decoder reads from the memory file's cursor; an encoder appends to the
// memory file it is given.
#pragma once

#include "zozud/core/Str.h"
#include "zozud/io/File.h"
#include "zozud/io/IO.h"

namespace zozud {

class cIO::ImageCodec {
public:
    virtual ~ImageCodec() {}
    virtual bool Decode(const cFile& file, cImage* image) = 0;
    virtual bool Encode(const cImage& image, cFile* file) = 0;
};

class cIO::ModelCodec {
public:
    virtual ~ModelCodec() {}
    virtual bool Encodes() const = 0;  // whether Encode is implemented
    virtual bool Decode(const cFile& file, cModel* model) = 0;
    virtual bool Encode(const cModel& model, cFile* file) = 0;
};

class cIO::AnimCodec {
public:
    virtual ~AnimCodec() {}
    virtual bool Encodes() const = 0;
    virtual bool Decode(const cFile& file, cAnim* anim) = 0;
    virtual bool Encode(const cAnim& anim, cFile* file) = 0;
};

class cIO::CameraCodec {
public:
    virtual ~CameraCodec() {}
    virtual bool Encodes() const = 0;
    virtual bool Decode(const cFile& file, cCamera* camera) = 0;
    virtual bool Encode(const cCamera& camera, cFile* file) = 0;
};

// One registry entry: the extension without its dot, and the codec it owns.
template <class Codec>
struct cIO_CodecEntry {
    cStr   Ext;
    Codec* Ptr = nullptr;
};

using cIO_ImageCodecList  = cList<cIO_CodecEntry<cIO::ImageCodec>>;
using cIO_ModelCodecList  = cList<cIO_CodecEntry<cIO::ModelCodec>>;
using cIO_AnimCodecList   = cList<cIO_CodecEntry<cIO::AnimCodec>>;
using cIO_CameraCodecList = cList<cIO_CodecEntry<cIO::CameraCodec>>;

// The first codec of a registry whose extension equals ext ignoring letter
// case, or null.
template <class Codec>
Codec* cIO_FindCodec(const cList<cIO_CodecEntry<Codec>>& codecs, const char* ext) {
    if (!ext || !*ext) return nullptr;
    for (const cIO_CodecEntry<Codec>& entry : codecs)
        if (cStr::CompareNoCase(entry.Ext, ext) == 0) return entry.Ptr;
    return nullptr;
}

}  // namespace zozud
