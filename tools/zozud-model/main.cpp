// zozud-model: shows and converts models, animations and cameras through the
// framework's codecs, chosen by file extension as every loader of the
// framework does.
//
//   zozud-model info FILE...
//   zozud-model convert INPUT OUTPUT [options]
//
// Paths are taken relative to the working folder. Exit status 0 on success;
// any failure prints one line on stderr naming the file and what failed, and
// gives status 1.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "zozud/io/Codec.h"
#include "zozud/model/Anim.h"
#include "zozud/model/Camera.h"
#include "zozud/model/Model.h"

#include "../common/ToolMain.h"

using namespace zozud;

namespace {

using toolmain::ExtensionOf;
using toolmain::Fail;
using toolmain::InWorkingFolder;
using toolmain::UsageError;

const char* const Usage =
    "Usage:\n"
    "  zozud-model info FILE...\n"
    "      Prints one line per file:\n"
    "      PATH: meshes M vertices V triangles T joints J frames F bounds X Y Z X Y Z\n"
    "      (the box's minimum, then its maximum; frames is 0 for a model, joints 0\n"
    "      for a static model; a camera counts its keyed frames).\n"
    "  zozud-model convert INPUT OUTPUT [options]\n"
    "      Loads INPUT, applies the options and saves OUTPUT. The codec of each\n"
    "      file is chosen by its extension (letter case does not matter):\n"
    "        models      Obj, cModel (read and write), Md5Mesh (read only)\n"
    "        animations  cAnim (read and write), Md5Anim (read only)\n"
    "        cameras     cCamera (read and write)\n"
    "      Both files must be of the same kind.\n"
    "  zozud-model --help\n"
    "\n"
    "Options of convert, applied in the order given:\n"
    "  --transform translate X Y Z | scale S | rotate x|y|z DEGREES | matrix M0 ... M15\n"
    "                  transforms the whole object (row vectors, row-major matrix)\n"
    "  --normals       recompute the vertex normals (models)\n"
    "  --tangents      recompute tangents and bitangents (models)\n"
    "\n"
    "A cModel file holds at most 65536 vertices per mesh. Exit status: 0 on\n"
    "success, 1 on any failure, with one line on stderr naming the file and what\n"
    "failed: no codec for the extension, cannot load, cannot decode, cannot\n"
    "encode, cannot save.\n";

enum class Kind { None, Model, Anim, Camera };

Kind KindOf(const std::string& path) {
    std::string ext = ExtensionOf(path);
    if (cIO_FindCodec(cIO::GetModelCodecs(), ext.c_str())) return Kind::Model;
    if (cIO_FindCodec(cIO::GetAnimCodecs(), ext.c_str())) return Kind::Anim;
    if (cIO_FindCodec(cIO::GetCameraCodecs(), ext.c_str())) return Kind::Camera;
    return Kind::None;
}

// Whatever a file holds.
struct Object {
    Kind    kind = Kind::None;
    cModel  model;
    cAnim   anim;
    cCamera camera;
};

std::string Why(const char* action) {
    switch (cIO::GetCodecFailure()) {
        case cIO::CodecFailure::CantLoad: return "cannot load the file";
        case cIO::CodecFailure::CantEncode: return std::string("cannot encode ") + action + " in this format";
        case cIO::CodecFailure::CantSave: return "cannot save the file";
        default: return std::string("cannot decode the ") + action;
    }
}

bool Load(const std::string& path, Object* o) {
    o->kind = KindOf(path);
    std::string abs = InWorkingFolder(path);
    bool ok = false;
    const char* noun = "model";
    switch (o->kind) {
        case Kind::None: Fail(path, "no codec for the extension \"" + ExtensionOf(path) + "\""); return false;
        case Kind::Model: ok = cIO::LoadModel(abs.c_str(), &o->model); break;
        case Kind::Anim: ok = cIO::LoadAnim(abs.c_str(), &o->anim); noun = "animation"; break;
        case Kind::Camera: ok = cIO::LoadCamera(abs.c_str(), &o->camera); noun = "camera"; break;
    }
    if (!ok) Fail(path, Why(noun));
    return ok;
}

bool Save(const std::string& path, const Object& o) {
    Kind kind = KindOf(path);
    if (kind == Kind::None) return Fail(path, "no codec for the extension \"" + ExtensionOf(path) + "\""), false;
    if (kind != o.kind) return Fail(path, "not the same kind of file as the input"), false;
    std::string abs = InWorkingFolder(path);
    bool ok = false;
    const char* noun = "a model";
    switch (kind) {
        case Kind::Model: ok = cIO::SaveModel(abs.c_str(), o.model); break;
        case Kind::Anim: ok = cIO::SaveAnim(abs.c_str(), o.anim); noun = "an animation"; break;
        case Kind::Camera: ok = cIO::SaveCamera(abs.c_str(), o.camera); noun = "a camera"; break;
        default: break;
    }
    if (!ok) Fail(path, Why(noun));
    return ok;
}

// ---- info ----

int Info(const std::vector<std::string>& files) {
    if (files.empty()) return UsageError("info needs at least one file");
    int status = 0;
    for (const std::string& path : files) {
        Object o;
        if (!Load(path, &o)) {
            status = 1;
            continue;
        }
        int meshes = 0, verts = 0, tris = 0, joints = 0, frames = 0;
        cBounds box;
        if (o.kind == Kind::Model) {
            meshes = o.model.Meshes.Count();
            verts = o.model.GetVertexCount();
            tris = o.model.GetTriangleCount();
            joints = o.model.IsStatic ? 0 : o.model.Joints.Count();
            box = o.model.Bounds;
        } else if (o.kind == Kind::Anim) {
            joints = o.anim.GetJointCount();
            frames = o.anim.GetFrameCount();
            box = o.anim.Bounds;
        } else {
            for (const cCamera::Camera& c : o.camera.Tracks) {
                frames += c.Frames.Count();
                for (const cCamera::Frame& f : c.Frames) box.AddPoint(f.Position);
            }
        }
        if (box.IsEmpty()) box = cBounds(cVec3(0, 0, 0), cVec3(0, 0, 0));
        printf("%s: meshes %d vertices %d triangles %d joints %d frames %d bounds %g %g %g %g %g %g\n", path.c_str(),
               meshes, verts, tris, joints, frames, box.min.x, box.min.y, box.min.z, box.max.x, box.max.y,
               box.max.z);
    }
    return status;
}

// ---- convert ----

bool Number(const std::string& text, float* out) { return cStr::ToFloat(text.c_str(), out); }

// Reads "--transform ..." words from args at i into m; false with a message on a bad one.
bool ParseTransform(const std::vector<std::string>& args, size_t* i, cMat4* m) {
    auto need = [&](size_t n) { return *i + n < args.size(); };
    if (!need(1)) return UsageError("--transform needs an operation"), false;
    std::string op = args[++*i];
    float v[16];
    if (op == "translate" && need(3)) {
        for (int k = 0; k < 3; k++)
            if (!Number(args[++*i], &v[k])) return UsageError("bad number \"" + args[*i] + "\""), false;
        *m = cMat4::Translation(v[0], v[1], v[2]);
    } else if (op == "scale" && need(1)) {
        if (!Number(args[++*i], &v[0])) return UsageError("bad number \"" + args[*i] + "\""), false;
        *m = cMat4::Scaling(v[0]);
    } else if (op == "rotate" && need(2)) {
        std::string axis = args[++*i];
        if (!Number(args[++*i], &v[0])) return UsageError("bad number \"" + args[*i] + "\""), false;
        if (axis == "x") *m = cMat4::RotationX(v[0]);
        else if (axis == "y") *m = cMat4::RotationY(v[0]);
        else if (axis == "z") *m = cMat4::RotationZ(v[0]);
        else return UsageError("bad axis \"" + axis + "\""), false;
    } else if (op == "matrix" && need(16)) {
        for (int k = 0; k < 16; k++)
            if (!Number(args[++*i], &m->m[k])) return UsageError("bad number \"" + args[*i] + "\""), false;
    } else {
        return UsageError("bad --transform \"" + op + "\""), false;
    }
    return true;
}

int Convert(const std::vector<std::string>& args) {
    if (args.size() < 2) return UsageError("convert needs an input and an output");
    Object o;
    // Options are checked before any file is touched.
    std::vector<std::pair<std::string, cMat4>> steps;
    for (size_t i = 2; i < args.size(); i++) {
        cMat4 m = cMat4::Identity;
        if (args[i] == "--transform") {
            if (!ParseTransform(args, &i, &m)) return 1;
            steps.push_back({"--transform", m});
        } else if (args[i] == "--normals" || args[i] == "--tangents") {
            steps.push_back({args[i], m});
        } else {
            return UsageError("unknown option \"" + args[i] + "\"");
        }
    }
    if (!Load(args[0], &o)) return 1;
    for (const auto& step : steps) {
        if (step.first == "--transform") {
            if (o.kind == Kind::Model) o.model.Transform(step.second);
            else if (o.kind == Kind::Anim) o.anim.Transform(step.second);
            else o.camera.Transform(step.second);
        } else if (o.kind != Kind::Model) {
            return Fail(args[0], step.first + " applies to models only");
        } else if (step.first == "--normals") {
            o.model.CalcNormals();
        } else {
            o.model.CalcTangents();
        }
    }
    return Save(args[1], o) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) { return toolmain::Run("zozud-model", Usage, argc, argv, Info, Convert); }
