// Read-only codecs of the MD5 text formats (version 10): skeletal meshes
// ("Md5Mesh") into skinned cModels and skeletal animations ("Md5Anim") into
// cAnims. The cCodecMd5_ classes hold a file's data in its own terms (z up,
// joints in model space for meshes, parent-relative for animation frames)
// before conversion into the framework's y-up space at half the size.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/io/Codec.h"
#include "zozud/model/Anim.h"
#include "zozud/model/Model.h"

namespace zozud {

struct cCodecMd5_Joint {
    cStr                   Name;
    int                    ParentIndex = -1;
    const cCodecMd5_Joint* Parent = nullptr;
    cVec3                  Position = cVec3(0, 0, 0);
    cQuat                  Orient = cQuat(0, 0, 0, 1);
};

struct cCodecMd5_Weight {
    int   Joint = 0;
    float Bias = 0;
    cVec3 Position = cVec3(0, 0, 0);
};

struct cCodecMd5_JointValue {
    int   Joint = 0;
    float Weight = 0;
    // Larger weight first: -1 when a's is greater, 1 when b's is, 0 if equal.
    static int Compare(const cCodecMd5_JointValue& a, const cCodecMd5_JointValue& b);
};

class cCodecMd5_Mesh {
public:
    struct Vert {
        cVec2 TexCoord = cVec2(0, 0);
        int   FirstWeight = 0;
        int   WeightCount = 0;
        cVec3 Position = cVec3(0, 0, 0);  // computed by CalcPoints
    };
    struct Tri {
        int Index[3] = {0, 0, 0};
    };

    cStr                    Shader;
    cList<Vert>             Verts;
    cList<Tri>              Tris;
    cList<cCodecMd5_Weight> Weights;
    int                     MaxWeights = 0;

    bool Load(const cFile& file);  // the lines after "mesh {" up to its "}"
    bool CalcPoints(const cList<cCodecMd5_Joint>& joints);  // false for a weight outside the lists
};

class cCodecMd5_Model {
public:
    cList<cCodecMd5_Joint> Joints;
    cList<cCodecMd5_Mesh>  Meshes;

    bool Load(const cFile& file);
    bool LoadJoints(const cFile& file);
    bool CalcPoints();
};

class cCodecMd5_Anim {
public:
    struct Hierarchy {
        cStr Name;
        int  Parent = -1;
        int  Flags = 0;
        int  StartIndex = 0;
    };
    struct BaseJoint {
        cVec3 Position = cVec3(0, 0, 0);
        cQuat Orient = cQuat(0, 0, 0, 1);
    };

    cList<Hierarchy>    Joints;
    cList<BaseJoint>    BaseFrame;
    cList<cList<float>> Frames;
    int                 AnimatedComponents = 0;
    int                 FrameRate = 0;
    cList<BaseJoint>    Posed;  // after SetFrame: model space

    bool Load(const cFile& file);
    bool LoadHierarchy(const cFile& file);
    bool LoadBaseFrame(const cFile& file);
    bool LoadFrame(const cFile& file, int index);
    void SetFrame(int index);
    void ResetJoints();
    void BuildJoints();
};

class cCodecMd5Model : public cIO::ModelCodec {
public:
    bool Encodes() const override { return false; }
    bool Decode(const cFile& file, cModel* model) override;
    bool Encode(const cModel&, cFile*) override { return false; }
};

class cCodecMd5Anim : public cIO::AnimCodec {
public:
    bool Encodes() const override { return false; }
    bool Decode(const cFile& file, cAnim* anim) override;
    bool Encode(const cAnim&, cFile*) override { return false; }
};

}  // namespace zozud
