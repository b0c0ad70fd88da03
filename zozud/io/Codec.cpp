// The codec registries of cIO and the load and save entry points over them.
// Loading resolves the path, makes it relative to the program folder when it
// lies below it (so the write folder and the other sources are searched),
// loads the bytes and hands them to the one codec of the file's extension.
// Saving encodes into a memory file and writes it through cIO::SaveFile.
#include "zozud/io/Codec.h"

#include "zozud/core/Log.h"
#include "zozud/io/IOState.h"
#include "zozud/math/Bsp.h"

namespace zozud {

namespace {

// The words of one kind in the registry's messages.
struct KindWords {
    const char* noun;          // "image", "model", ...
    const char* encodeNoun;    // "image" for images, "model file" for the rest
    bool        emptySaveOk;   // an encoder that wrote nothing still succeeds
};

const KindWords ImageWords  = {"image", "image", true};
const KindWords ModelWords  = {"model", "model file", false};
const KindWords AnimWords   = {"animation", "animation file", false};
const KindWords CameraWords = {"camera", "camera file", false};

// The reason of the last failed load or save, per thread.
thread_local cIO::CodecFailure::Enum t_Failure = cIO::CodecFailure::NoFailure;

bool Failed(cIO::CodecFailure::Enum reason) {
    t_Failure = reason;
    return false;
}

// The registries live until exit; codecs registered in them are never freed.
cIO_ImageCodecList& ImageCodecs() {
    static cIO_ImageCodecList* list = new cIO_ImageCodecList;
    return *list;
}
cIO_ModelCodecList& ModelCodecs() {
    static cIO_ModelCodecList* list = new cIO_ModelCodecList;
    return *list;
}
cIO_AnimCodecList& AnimCodecs() {
    static cIO_AnimCodecList* list = new cIO_AnimCodecList;
    return *list;
}
cIO_CameraCodecList& CameraCodecs() {
    static cIO_CameraCodecList* list = new cIO_CameraCodecList;
    return *list;
}

// Appends the codec unless its extension is taken; the registry then owns it.
template <class Codec>
bool Register(cList<cIO_CodecEntry<Codec>>& codecs, const char* ext, Codec* codec) {
    if (!ext || !*ext || !codec || cIO_FindCodec(codecs, ext)) return false;
    cIO_CodecEntry<Codec> entry;
    entry.Ext = ext;
    entry.Ptr = codec;
    codecs.Add(entry);
    return true;
}

template <class Codec>
void LogAdded(const char* noun, const char* ext, const Codec* codec) {
    cLog::Message("Added \"%s\" %s %s", ext, noun, codec->Encodes() ? "codec." : "decoder.");
}

// The path as the sources see it: relative to the program folder when it
// lies below it, absolute otherwise.
cStr SourcePath(const char* path) {
    cStr resolved = cIO::EnsureAbsolutePath(path ? path : "");
    const cStr& folder = cIO::GetDefaultSourceFolder();
    if (!folder.IsEmpty() && cStr::ComparePath(resolved, folder, folder.Length()) == 0)
        resolved.RemoveFileAbsPath(folder);
    return resolved;
}

template <class Codec, class Object>
bool Load(const cList<cIO_CodecEntry<Codec>>& codecs, const KindWords& words, const char* path, Object* object) {
    t_Failure = cIO::CodecFailure::NoFailure;
    if (!object) return Failed(cIO::CodecFailure::CantDecode);
    cStr rel = SourcePath(path);
    cStr ext = rel.GetFileExtension();
    cFile file;
    if (!cIO::LoadFile(rel, &file, false)) {
        cLog::Warning("Can't load %s file \"%s\"", words.noun, rel.ToChar());
        return Failed(cIO::CodecFailure::CantLoad);
    }
    Codec* codec = cIO_FindCodec(codecs, ext);
    if (codec && codec->Decode(file, object)) {
        cLog::Message("Loaded %s file \"%s\"", words.noun, rel.ToChar());
        return true;
    }
    cLog::Warning("Can't decode %s file \"%s\"", words.noun, rel.ToChar());
    return Failed(codec ? cIO::CodecFailure::CantDecode : cIO::CodecFailure::NoCodec);
}

template <class Codec, class Object>
bool Save(const cList<cIO_CodecEntry<Codec>>& codecs, const KindWords& words, const char* path, const Object& object) {
    t_Failure = cIO::CodecFailure::NoFailure;
    if (!path) return Failed(cIO::CodecFailure::NoCodec);
    Codec* codec = cIO_FindCodec(codecs, cStr(path).GetFileExtension());
    if (!codec) return Failed(cIO::CodecFailure::NoCodec);
    cFile file;
    if (!codec->Encode(object, &file)) {
        cLog::Warning("Can't encode %s \"%s\"", words.encodeNoun, path);
        return Failed(cIO::CodecFailure::CantEncode);
    }
    if (file.GetSize() == 0) return words.emptySaveOk || Failed(cIO::CodecFailure::CantEncode);
    return cIO::SaveFile(path, file, false, true) || Failed(cIO::CodecFailure::CantSave);
}

}  // namespace

// ---- Registration ----

bool cIO::AddCodec(const char* ext, ImageCodec* codec) {
    cIO_Facade();
    if (!Register(ImageCodecs(), ext, codec)) return false;
    cLog::Message("Added \"%s\" image codec.", ext);
    return true;
}

bool cIO::AddCodec(const char* ext, ModelCodec* codec) {
    cIO_Facade();
    if (!Register(ModelCodecs(), ext, codec)) return false;
    LogAdded(ModelWords.noun, ext, codec);
    return true;
}

bool cIO::AddCodec(const char* ext, AnimCodec* codec) {
    cIO_Facade();
    if (!Register(AnimCodecs(), ext, codec)) return false;
    LogAdded(AnimWords.noun, ext, codec);
    return true;
}

bool cIO::AddCodec(const char* ext, CameraCodec* codec) {
    cIO_Facade();
    if (!Register(CameraCodecs(), ext, codec)) return false;
    LogAdded(CameraWords.noun, ext, codec);
    return true;
}

const cIO_ImageCodecList& cIO::GetImageCodecs() {
    cIO_Facade();
    return ImageCodecs();
}

const cIO_ModelCodecList& cIO::GetModelCodecs() {
    cIO_Facade();
    return ModelCodecs();
}

const cIO_AnimCodecList& cIO::GetAnimCodecs() {
    cIO_Facade();
    return AnimCodecs();
}

const cIO_CameraCodecList& cIO::GetCameraCodecs() {
    cIO_Facade();
    return CameraCodecs();
}

// ---- Loading and saving ----

cIO::CodecFailure::Enum cIO::GetCodecFailure() { return t_Failure; }

const char* cIO::GetCodecFailureReason() {
    switch (t_Failure) {
        case CodecFailure::NoCodec: return "no codec for the file's extension";
        case CodecFailure::CantLoad: return "cannot load the file";
        case CodecFailure::CantDecode: return "cannot decode the file";
        case CodecFailure::CantEncode: return "cannot encode in this format";
        case CodecFailure::CantSave: return "cannot save the file";
        default: return "";
    }
}

bool cIO::LoadImage(const char* path, cImage* image) { return Load(GetImageCodecs(), ImageWords, path, image); }
bool cIO::SaveImage(const char* path, const cImage& image) { return Save(GetImageCodecs(), ImageWords, path, image); }
bool cIO::LoadModel(const char* path, cModel* model) { return Load(GetModelCodecs(), ModelWords, path, model); }
bool cIO::SaveModel(const char* path, const cModel& model) { return Save(GetModelCodecs(), ModelWords, path, model); }
bool cIO::LoadAnim(const char* path, cAnim* anim) { return Load(GetAnimCodecs(), AnimWords, path, anim); }
bool cIO::SaveAnim(const char* path, const cAnim& anim) { return Save(GetAnimCodecs(), AnimWords, path, anim); }
bool cIO::LoadCamera(const char* path, cCamera* camera) { return Load(GetCameraCodecs(), CameraWords, path, camera); }
bool cIO::SaveCamera(const char* path, const cCamera& camera) {
    return Save(GetCameraCodecs(), CameraWords, path, camera);
}

// ---- BSP files ----

bool cIO::LoadBsp(const char* path, cBsp* bsp) {
    t_Failure = CodecFailure::NoFailure;
    if (!bsp) return Failed(CodecFailure::CantDecode);
    cStr named(path ? path : "");
    named.SetFileDefaultExtension("cBsp");
    cStr rel = SourcePath(named);
    cFile file;
    if (!cIO::LoadFile(rel, &file, false)) {
        cLog::Warning("Can't load BSP file \"%s\"", rel.ToChar());
        return Failed(CodecFailure::CantLoad);
    }
    if (!bsp->Load(file.GetData(), file.GetSize())) {
        cLog::Warning("Can't decode BSP file \"%s\"", rel.ToChar());
        return Failed(CodecFailure::CantDecode);
    }
    cLog::Message("Loaded BSP file \"%s\"", rel.ToChar());
    return true;
}

bool cIO::SaveBsp(const char* path, const cBsp& bsp) {
    t_Failure = CodecFailure::NoFailure;
    if (!path) return Failed(CodecFailure::CantSave);
    cStr named(path);
    named.SetFileDefaultExtension("cBsp");
    cList<unsigned char> bytes;
    if (!bsp.Save(&bytes)) return Failed(CodecFailure::CantSave);
    cFile file;
    file.Set(&bytes, named);
    return cIO::SaveFile(named, file, false, true) || Failed(CodecFailure::CantSave);
}

}  // namespace zozud
