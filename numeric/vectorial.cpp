// Compiled once per instruction set by hwy/foreach_target.h, which includes this file again
// for each; the table and the dispatching functions at the end are compiled once.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "numeric/vectorial.cpp"
// clang-format off
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"
// clang-format on

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "numeric/vectorial.h"

#ifndef FENWA_NUMERIC_VECTORIAL_TABLA
#define FENWA_NUMERIC_VECTORIAL_TABLA
namespace vectorial {

// 2^(k/128) = A(k)·(1 + C(k)), A(k) the double nearest to it and C(k) the double nearest
// to the relative remainder: for k = 0..127 the bit patterns of C(k) and of A(k) less
// k·2^45 (so that adding the integer part of the exponent shifted to its place gives the
// pattern of the scale).
alignas(64) constexpr std::uint64_t kPotenciasDeDos[256] = {
    0x0000000000000000, 0x3ff0000000000000, 0x3c9b3b4f1a88bf6e, 0x3feff63da9fb3335,
    0xbc7160139cd8dc5d, 0x3fefec9a3e778061, 0xbc905e7a108766d1, 0x3fefe315e86e7f85,
    0x3c8cd2523567f613, 0x3fefd9b0d3158574, 0xbc8bce8023f98efa, 0x3fefd06b29ddf6de,
    0x3c60f74e61e6c861, 0x3fefc74518759bc8, 0x3c90a3e45b33d399, 0x3fefbe3ecac6f383,
    0x3c979aa65d837b6d, 0x3fefb5586cf9890f, 0x3c8eb51a92fdeffc, 0x3fefac922b7247f7,
    0x3c3ebe3d702f9cd1, 0x3fefa3ec32d3d1a2, 0xbc6a033489906e0b, 0x3fef9b66affed31b,
    0xbc9556522a2fbd0e, 0x3fef9301d0125b51, 0xbc5080ef8c4eea55, 0x3fef8abdc06c31cc,
    0xbc91c923b9d5f416, 0x3fef829aaea92de0, 0x3c80d3e3e95c55af, 0x3fef7a98c8a58e51,
    0xbc801b15eaa59348, 0x3fef72b83c7d517b, 0xbc8f1ff055de323d, 0x3fef6af9388c8dea,
    0x3c8b898c3f1353bf, 0x3fef635beb6fcb75, 0xbc96d99c7611eb26, 0x3fef5be084045cd4,
    0x3c9aecf73e3a2f60, 0x3fef54873168b9aa, 0xbc8fe782cb86389d, 0x3fef4d5022fcd91d,
    0x3c8a6f4144a6c38d, 0x3fef463b88628cd6, 0x3c807a05b0e4047d, 0x3fef3f49917ddc96,
    0x3c968efde3a8a894, 0x3fef387a6e756238, 0x3c875e18f274487d, 0x3fef31ce4fb2a63f,
    0x3c80472b981fe7f2, 0x3fef2b4565e27cdd, 0xbc96b87b3f71085e, 0x3fef24dfe1f56381,
    0x3c82f7e16d09ab31, 0x3fef1e9df51fdee1, 0xbc3d219b1a6fbffa, 0x3fef187fd0dad990,
    0x3c8b3782720c0ab4, 0x3fef1285a6e4030b, 0x3c6e149289cecb8f, 0x3fef0cafa93e2f56,
    0x3c834d754db0abb6, 0x3fef06fe0a31b715, 0x3c864201e2ac744c, 0x3fef0170fc4cd831,
    0x3c8fdd395dd3f84a, 0x3feefc08b26416ff, 0xbc86a3803b8e5b04, 0x3feef6c55f929ff1,
    0xbc924aedcc4b5068, 0x3feef1a7373aa9cb, 0xbc9907f81b512d8e, 0x3feeecae6d05d866,
    0xbc71d1e83e9436d2, 0x3feee7db34e59ff7, 0xbc991919b3ce1b15, 0x3feee32dc313a8e5,
    0x3c859f48a72a4c6d, 0x3feedea64c123422, 0xbc9312607a28698a, 0x3feeda4504ac801c,
    0xbc58a78f4817895b, 0x3feed60a21f72e2a, 0xbc7c2c9b67499a1b, 0x3feed1f5d950a897,
    0x3c4363ed60c2ac11, 0x3feece086061892d, 0x3c9666093b0664ef, 0x3feeca41ed1d0057,
    0x3c6ecce1daa10379, 0x3feec6a2b5c13cd0, 0x3c93ff8e3f0f1230, 0x3feec32af0d7d3de,
    0x3c7690cebb7aafb0, 0x3feebfdad5362a27, 0x3c931dbdeb54e077, 0x3feebcb299fddd0d,
    0xbc8f94340071a38e, 0x3feeb9b2769d2ca7, 0xbc87deccdc93a349, 0x3feeb6daa2cf6642,
    0xbc78dec6bd0f385f, 0x3feeb42b569d4f82, 0xbc861246ec7b5cf6, 0x3feeb1a4ca5d920f,
    0x3c93350518fdd78e, 0x3feeaf4736b527da, 0x3c7b98b72f8a9b05, 0x3feead12d497c7fd,
    0x3c9063e1e21c5409, 0x3feeab07dd485429, 0x3c34c7855019c6ea, 0x3feea9268a5946b7,
    0x3c9432e62b64c035, 0x3feea76f15ad2148, 0xbc8ce44a6199769f, 0x3feea5e1b976dc09,
    0xbc8c33c53bef4da8, 0x3feea47eb03a5585, 0xbc845378892be9ae, 0x3feea34634ccc320,
    0xbc93cedd78565858, 0x3feea23882552225, 0x3c5710aa807e1964, 0x3feea155d44ca973,
    0xbc93b3efbf5e2228, 0x3feea09e667f3bcd, 0xbc6a12ad8734b982, 0x3feea012750bdabf,
    0xbc6367efb86da9ee, 0x3fee9fb23c651a2f, 0xbc80dc3d54e08851, 0x3fee9f7df9519484,
    0xbc781f647e5a3ecf, 0x3fee9f75e8ec5f74, 0xbc86ee4ac08b7db0, 0x3fee9f9a48a58174,
    0xbc8619321e55e68a, 0x3fee9feb564267c9, 0x3c909ccb5e09d4d3, 0x3feea0694fde5d3f,
    0xbc7b32dcb94da51d, 0x3feea11473eb0187, 0x3c94ecfd5467c06b, 0x3feea1ed0130c132,
    0x3c65ebe1abd66c55, 0x3feea2f336cf4e62, 0xbc88a1c52fb3cf42, 0x3feea427543e1a12,
    0xbc9369b6f13b3734, 0x3feea589994cce13, 0xbc805e843a19ff1e, 0x3feea71a4623c7ad,
    0xbc94d450d872576e, 0x3feea8d99b4492ed, 0x3c90ad675b0e8a00, 0x3feeaac7d98a6699,
    0x3c8db72fc1f0eab4, 0x3feeace5422aa0db, 0xbc65b6609cc5e7ff, 0x3feeaf3216b5448c,
    0x3c7bf68359f35f44, 0x3feeb1ae99157736, 0xbc93091fa71e3d83, 0x3feeb45b0b91ffc6,
    0xbc5da9b88b6c1e29, 0x3feeb737b0cdc5e5, 0xbc6c23f97c90b959, 0x3feeba44cbc8520f,
    0xbc92434322f4f9aa, 0x3feebd829fde4e50, 0xbc85ca6cd7668e4b, 0x3feec0f170ca07ba,
    0x3c71affc2b91ce27, 0x3feec49182a3f090, 0x3c6dd235e10a73bb, 0x3feec86319e32323,
    0xbc87c50422622263, 0x3feecc667b5de565, 0x3c8b1c86e3e231d5, 0x3feed09bec4a2d33,
    0xbc91bbd1d3bcbb15, 0x3feed503b23e255d, 0x3c90cc319cee31d2, 0x3feed99e1330b358,
    0x3c8469846e735ab3, 0x3feede6b5579fdbf, 0xbc82dfcd978e9db4, 0x3feee36bbfd3f37a,
    0x3c8c1a7792cb3387, 0x3feee89f995ad3ad, 0xbc907b8f4ad1d9fa, 0x3feeee07298db666,
    0xbc55c3d956dcaeba, 0x3feef3a2b84f15fb, 0xbc90a40e3da6f640, 0x3feef9728de5593a,
    0xbc68d6f438ad9334, 0x3feeff76f2fb5e47, 0xbc91eee26b588a35, 0x3fef05b030a1064a,
    0x3c74ffd70a5fddcd, 0x3fef0c1e904bc1d2, 0xbc91bdfbfa9298ac, 0x3fef12c25bd71e09,
    0x3c736eae30af0cb3, 0x3fef199bdd85529c, 0x3c8ee3325c9ffd94, 0x3fef20ab5fffd07a,
    0x3c84e08fd10959ac, 0x3fef27f12e57d14b, 0x3c63cdaf384e1a67, 0x3fef2f6d9406e7b5,
    0x3c676b2c6c921968, 0x3fef3720dcef9069, 0xbc808a1883ccb5d2, 0x3fef3f0b555dc3fa,
    0xbc8fad5d3ffffa6f, 0x3fef472d4a07897c, 0xbc900dae3875a949, 0x3fef4f87080d89f2,
    0x3c74a385a63d07a7, 0x3fef5818dcfba487, 0xbc82919e2040220f, 0x3fef60e316c98398,
    0x3c8e5a50d5c192ac, 0x3fef69e603db3285, 0x3c843a59ac016b4b, 0x3fef7321f301b460,
    0xbc82d52107b43e1f, 0x3fef7c97337b9b5f, 0xbc892ab93b470dc9, 0x3fef864614f5a129,
    0x3c74b604603a88d3, 0x3fef902ee78b3ff6, 0x3c83c5ec519d7271, 0x3fef9a51fbc74c83,
    0xbc8ff7128fd391f0, 0x3fefa4afa2a490da, 0xbc8dae98e223747d, 0x3fefaf482d8e67f1,
    0x3c8ec3bc41aa2008, 0x3fefba1bee615a27, 0x3c842b94c3a9eb32, 0x3fefc52b376bba97,
    0x3c8a64a931d185ee, 0x3fefd0765b6e4540, 0xbc8e37bae43be3ed, 0x3fefdbfdad9cbe14,
    0x3c77893b4d91cd9d, 0x3fefe7c1819e90d8, 0x3c5305c14160cc89, 0x3feff3c22b8f71f1,
};

// ln x = k·ln2 + ln c + ln(1 + r), r = z/c − 1, for x = 2^k·z with z in [0x1.6p−1, 0x1.6p0)
// split into 128 parts by the 7 bits of z after the leading ones: for part i the patterns of
// 1/c and of ln c, as that library's logarithm has them.
alignas(64) constexpr std::uint64_t kInversasYLogaritmos[256] = {
    0x3ff734f0c3e0de9f, 0xbfd7cc7f79e69000, 0x3ff713786a2ce91f, 0xbfd76feec20d0000,
    0x3ff6f26008fab5a0, 0xbfd713e31351e000, 0x3ff6d1a61f138c7d, 0xbfd6b85b38287800,
    0x3ff6b1490bc5b4d1, 0xbfd65d5590807800, 0x3ff69147332f0cba, 0xbfd602d076180000,
    0x3ff6719f18224223, 0xbfd5a8ca86909000, 0x3ff6524f99a51ed9, 0xbfd54f4356035000,
    0x3ff63356aa8f24c4, 0xbfd4f637c36b4000, 0x3ff614b36b9ddc14, 0xbfd49da7fda85000,
    0x3ff5f66452c65c4c, 0xbfd445923989a800, 0x3ff5d867b5912c4f, 0xbfd3edf439b0b800,
    0x3ff5babccb5b90de, 0xbfd396ce448f7000, 0x3ff59d61f2d91a78, 0xbfd3401e17bda000,
    0x3ff5805612465687, 0xbfd2e9e2ef468000, 0x3ff56397cee76bd3, 0xbfd2941b3830e000,
    0x3ff54725e2a77f93, 0xbfd23ec58cda8800, 0x3ff52aff42064583, 0xbfd1e9e129279000,
    0x3ff50f22dbb2bddf, 0xbfd1956d2b48f800, 0x3ff4f38f4734ded7, 0xbfd141679ab9f800,
    0x3ff4d843cfde2840, 0xbfd0edd094ef9800, 0x3ff4bd3ec078a3c8, 0xbfd09aa518db1000,
    0x3ff4a27fc3e0258a, 0xbfd047e65263b800, 0x3ff4880524d48434, 0xbfcfeb224586f000,
    0x3ff46dce1b192d0b, 0xbfcf474a7517b000, 0x3ff453d9d3391854, 0xbfcea4443d103000,
    0x3ff43a2744b4845a, 0xbfce020d44e9b000, 0x3ff420b54115f8fb, 0xbfcd60a22977f000,
    0x3ff40782da3ef4b1, 0xbfccc00104959000, 0x3ff3ee8f5d57fe8f, 0xbfcc202956891000,
    0x3ff3d5d9a00b4ce9, 0xbfcb81178d811000, 0x3ff3bd60c010c12b, 0xbfcae2c9ccd3d000,
    0x3ff3a5242b75dab8, 0xbfca45402e129000, 0x3ff38d22cd9fd002, 0xbfc9a877681df000,
    0x3ff3755bc5847a1c, 0xbfc90c6d69483000, 0x3ff35dce49ad36e2, 0xbfc87120a645c000,
    0x3ff34679984dd440, 0xbfc7d68fb4143000, 0x3ff32f5cceffcb24, 0xbfc73cb83c627000,
    0x3ff3187775a10d49, 0xbfc6a39a9b376000, 0x3ff301c8373e3990, 0xbfc60b3154b7a000,
    0x3ff2eb4ebb95f841, 0xbfc5737d76243000, 0x3ff2d50a0219a9d1, 0xbfc4dc7b8fc23000,
    0x3ff2bef9a8b7fd2a, 0xbfc4462c51d20000, 0x3ff2a91c7a0c1bab, 0xbfc3b08abc830000,
    0x3ff293726014b530, 0xbfc31b996b490000, 0x3ff27dfa5757a1f5, 0xbfc2875490a44000,
    0x3ff268b39b1d3bbf, 0xbfc1f3b9f879a000, 0x3ff2539d838ff5bd, 0xbfc160c8252ca000,
    0x3ff23eb7aac9083b, 0xbfc0ce7f57f72000, 0x3ff22a012ba940b6, 0xbfc03cdc49fea000,
    0x3ff2157996cc4132, 0xbfbf57bdbc4b8000, 0x3ff201201dd2fc9b, 0xbfbe370896404000,
    0x3ff1ecf4494d480b, 0xbfbd17983ef94000, 0x3ff1d8f5528f6569, 0xbfbbf9674ed8a000,
    0x3ff1c52311577e7c, 0xbfbadc79202f6000, 0x3ff1b17c74cb26e9, 0xbfb9c0c3e7288000,
    0x3ff19e010c2c1ab6, 0xbfb8a646b372c000, 0x3ff18ab07bb670bd, 0xbfb78d01b3ac0000,
    0x3ff1778a25efbcb6, 0xbfb674f145380000, 0x3ff1648d354c31da, 0xbfb55e0e6d878000,
    0x3ff151b990275fdd, 0xbfb4485cdea1e000, 0x3ff13f0ea432d24c, 0xbfb333d94d6aa000,
    0x3ff12c8b7210f9da, 0xbfb22079f8c56000, 0x3ff11a3028ecb531, 0xbfb10e4698622000,
    0x3ff107fbda8434af, 0xbfaffa6c6ad20000, 0x3ff0f5ee0f4e6bb3, 0xbfadda8d4a774000,
    0x3ff0e4065d2a9fce, 0xbfabbcece4850000, 0x3ff0d244632ca521, 0xbfa9a1894012c000,
    0x3ff0c0a77ce2981a, 0xbfa788583302c000, 0x3ff0af2f83c636d1, 0xbfa5715e67d68000,
    0x3ff09ddb98a01339, 0xbfa35c8a49658000, 0x3ff08cabaf52e7df, 0xbfa149e364154000,
    0x3ff07b9f2f4e28fb, 0xbf9e72c082eb8000, 0x3ff06ab58c358f19, 0xbf9a55f152528000,
    0x3ff059eea5ecf92c, 0xbf963d62cf818000, 0x3ff04949cdd12c90, 0xbf9228fb8caa0000,
    0x3ff038c6c6f0ada9, 0xbf8c317b20f90000, 0x3ff02865137932a9, 0xbf8419355daa0000,
    0x3ff0182427ea7348, 0xbf781203c2ec0000, 0x3ff008040614b195, 0xbf60040979240000,
    0x3fefe01ff726fa1a, 0x3f6feff384900000, 0x3fefa11cc261ea74, 0x3f87dc41353d0000,
    0x3fef6310b081992e, 0x3f93cea3c4c28000, 0x3fef25f63ceeadcd, 0x3f9b9fc114890000,
    0x3feee9c8039113e7, 0x3fa1b0d8ce110000, 0x3feeae8078cbb1ab, 0x3fa58a5bd001c000,
    0x3fee741aa29d0c9b, 0x3fa95c8340d88000, 0x3fee3a91830a99b5, 0x3fad276aef578000,
    0x3fee01e009609a56, 0x3fb07598e598c000, 0x3fedca01e577bb98, 0x3fb253f5e30d2000,
    0x3fed92f20b7c9103, 0x3fb42edd8b380000, 0x3fed5cac66fb5cce, 0x3fb606598757c000,
    0x3fed272caa5ede9d, 0x3fb7da76356a0000, 0x3fecf26e3e6b2ccd, 0x3fb9ab434e1c6000,
    0x3fecbe6da2a77902, 0x3fbb78c7bb0d6000, 0x3fec8b266d37086d, 0x3fbd431332e72000,
    0x3fec5894bd5d5804, 0x3fbf0a3171de6000, 0x3fec26b533bb9f8c, 0x3fc067152b914000,
    0x3febf583eeece73f, 0x3fc147858292b000, 0x3febc4fd75db96c1, 0x3fc2266ecdca3000,
    0x3feb951e0c864a28, 0x3fc303d7a6c55000, 0x3feb65e2c5ef3e2c, 0x3fc3dfc33c331000,
    0x3feb374867c9888b, 0x3fc4ba366b7a8000, 0x3feb094b211d304a, 0x3fc5933928d1f000,
    0x3feadbe885f2ef7e, 0x3fc66acd2418f000, 0x3feaaf1d31603da2, 0x3fc740f8ec669000,
    0x3fea82e63fd358a7, 0x3fc815c0f51af000, 0x3fea5740ef09738b, 0x3fc8e92954f68000,
    0x3fea2c2a90ab4b27, 0x3fc9bb3602f84000, 0x3fea01a01393f2d1, 0x3fca8bed1c2c0000,
    0x3fe9d79f24db3c1b, 0x3fcb5b515c01d000, 0x3fe9ae2505c7b190, 0x3fcc2967ccbcc000,
    0x3fe9852ef297ce2f, 0x3fccf635d5486000, 0x3fe95cbaeea44b75, 0x3fcdc1bd3446c000,
    0x3fe934c69de74838, 0x3fce8c01b8cfe000, 0x3fe90d4f2f6752e6, 0x3fcf5509c0179000,
    0x3fe8e6528effd79d, 0x3fd00e6c121fb800, 0x3fe8bfce9fcc007c, 0x3fd071b80e93d000,
    0x3fe899c0dabec30e, 0x3fd0d46b9e867000, 0x3fe87427aa2317fb, 0x3fd13687334bd000,
    0x3fe84f00acb39a08, 0x3fd1980d67234800, 0x3fe82a49e8653e55, 0x3fd1f8ffe0cc8000,
    0x3fe8060195f40260, 0x3fd2595fd7636800, 0x3fe7e22563e0a329, 0x3fd2b9300914a800,
    0x3fe7beb377dcb5ad, 0x3fd3187210436000, 0x3fe79baa679725c2, 0x3fd377266dec1800,
    0x3fe77907f2170657, 0x3fd3d54ffbaf3000, 0x3fe756cadbd6130c, 0x3fd432eee32fe000,
};

// The exponent of the squares that go to std::pow, read at run time so that the compiler
// does not turn pow(x, 2.0) into x·x, which rounds differently in a few cases in ten thousand.
inline volatile double exponenteDos = 2.0;

}  // namespace vectorial
#endif

HWY_BEFORE_NAMESPACE();
namespace vectorial {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Widest vector of doubles of any target, for the last, partial vector of an array.
constexpr std::size_t kCarrilesMaximos = HWY_MAX_BYTES / sizeof(double);

// y = vectorial(argumento(x)) vector by vector, two at a time so that the processor overlaps
// them, the last, partial vector padded; the lanes whose argument fails `dentro` (the vector
// routine's range; dentroUno is the same test on one value) are computed again by `escalar`.
template <class Argumento, class Vectorial, class Dentro, class DentroUno, class Escalar>
HWY_INLINE void Aplicar(const double* x, double* y, std::size_t n, const Argumento& argumento,
                        const Vectorial& vectorial, const Dentro& dentro,
                        const DentroUno& dentroUno, const Escalar& escalar) {
  const hn::ScalableTag<double> d;
  const std::size_t N = hn::Lanes(d);
  const auto guardar = [&](const auto v, const auto r, double* hasta, std::size_t cuantos) {
    if (HWY_LIKELY(cuantos == N && hn::AllTrue(d, dentro(d, v)))) {
      hn::StoreU(r, d, hasta);
      return;
    }
    HWY_ALIGN double arg[kCarrilesMaximos];
    HWY_ALIGN double res[kCarrilesMaximos];
    hn::Store(v, d, arg);
    hn::Store(r, d, res);
    for (std::size_t i = 0; i < cuantos; ++i)
      hasta[i] = dentroUno(arg[i]) ? res[i] : escalar(arg[i]);
  };
  std::size_t i = 0;
  for (; i + 2 * N <= n; i += 2 * N) {
    // Both loaded before either is stored: y may be x.
    const auto v0 = argumento(d, hn::LoadU(d, x + i));
    const auto v1 = argumento(d, hn::LoadU(d, x + i + N));
    const auto r0 = vectorial(d, v0);
    const auto r1 = vectorial(d, v1);
    guardar(v0, r0, y + i, N);
    guardar(v1, r1, y + i + N, N);
  }
  for (; i + N <= n; i += N) {
    const auto v = argumento(d, hn::LoadU(d, x + i));
    guardar(v, vectorial(d, v), y + i, N);
  }
  if (i < n) {
    // The unused lanes hold a harmless argument.
    HWY_ALIGN double resto[kCarrilesMaximos];
    for (std::size_t k = 0; k < N; ++k) resto[k] = i + k < n ? x[i + k] : 1.0;
    const auto v = argumento(d, hn::Load(d, resto));
    guardar(v, vectorial(d, v), y + i, n - i);
  }
}

// The pairs tabla[indice], tabla[indice + 1] of each lane (indice even, the pairs 16-byte
// aligned), as two vectors. On AVX2 by four 16-byte loads and two shuffles, which some
// processors run several times faster than two gathers; elsewhere by gathers.
template <class D, class VI>
HWY_INLINE void LeerPares(D d, const std::uint64_t* tabla, VI indice, hn::Vec<D>& primeros,
                          hn::Vec<D>& segundos) {
#if HWY_TARGET == HWY_AVX2
  alignas(32) std::int64_t k[4];
  hn::Store(indice, hn::RebindToSigned<D>(), k);
  const auto par = [tabla](std::int64_t i) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(tabla + i));
  };
  const __m256i l02 = _mm256_inserti128_si256(_mm256_castsi128_si256(par(k[0])), par(k[2]), 1);
  const __m256i l13 = _mm256_inserti128_si256(_mm256_castsi128_si256(par(k[1])), par(k[3]), 1);
  primeros = hn::Vec<D>{_mm256_castsi256_pd(_mm256_unpacklo_epi64(l02, l13))};
  segundos = hn::Vec<D>{_mm256_castsi256_pd(_mm256_unpackhi_epi64(l02, l13))};
#else
  const hn::RebindToUnsigned<D> du;
  primeros = hn::BitCast(d, hn::GatherIndex(du, tabla, indice));
  segundos = hn::BitCast(d, hn::GatherIndex(du, tabla + 1, indice));
#endif
}

// The exponential as the GNU C library computes it: x = (k + 128·e)·ln2/128 + r with
// |r| <= ln2/256, exp(x) = 2^e·A(k)·(1 + C(k) + r + r²/2 + … + r^5/120) with the
// polynomial's own rounded coefficients, and the multiply-adds fused where the library's
// are: on the instruction sets with FMA (as its FMA variant), and nowhere on the others
// (as its baseline one), which is what hn::MulAdd does. Valid for 2^−54 <= |x| < 512.
// The reduction constants and the polynomial's coefficients below are those of that
// library's exp, which comes from Arm's Optimized Routines (MIT licence).
template <class D, class V>
HWY_INLINE V ExpComoLaBiblioteca(D d, V x) {
  const hn::RebindToUnsigned<D> du;
  const hn::RebindToSigned<D> di;
  const V kInvLn2N = hn::Set(d, 0x1.71547652b82fep0 * 128);
  const V kDesplazamiento = hn::Set(d, 0x1.8p52);
  const V kMenosLn2AltoN = hn::Set(d, -0x1.62e42fefa0000p-8);
  const V kMenosLn2BajoN = hn::Set(d, -0x1.cf79abc9e3b3ap-47);
  const V kC2 = hn::Set(d, 0x1.ffffffffffdbdp-2);
  const V kC3 = hn::Set(d, 0x1.555555555543cp-3);
  const V kC4 = hn::Set(d, 0x1.55555cf172b91p-5);
  const V kC5 = hn::Set(d, 0x1.1111167a4d017p-7);
  // k + 128·e is the integer nearest to x·128/ln2, in the low bits of kd + 2^52·1.5.
  V kd = hn::MulAdd(x, kInvLn2N, kDesplazamiento);
  const auto ki = hn::BitCast(du, kd);
  kd = hn::Sub(kd, kDesplazamiento);
  const V r = hn::MulAdd(kd, kMenosLn2BajoN, hn::MulAdd(kd, kMenosLn2AltoN, x));
  const auto indice = hn::BitCast(di, hn::ShiftLeft<1>(hn::And(ki, hn::Set(du, 127))));
  V cola, alta;
  LeerPares(d, kPotenciasDeDos, indice, cola, alta);
  const V escala = hn::BitCast(d, hn::Add(hn::BitCast(du, alta), hn::ShiftLeft<45>(ki)));
  const V r2 = hn::Mul(r, r);
  const V p = hn::MulAdd(hn::Mul(r2, r2), hn::MulAdd(r, kC5, kC4),
                         hn::MulAdd(r2, hn::MulAdd(r, kC3, kC2), hn::Add(cola, r)));
  return hn::MulAdd(escala, p, escala);
}

// The products a·x are rounded before the exponential: hn::Mul is a plain multiplication,
// and this file is compiled without contraction into fused multiply-adds.
void ExpEscalada(double a, const double* x, double* y, std::size_t n) {
  Aplicar(
      x, y, n, [a](auto d, auto v) { return hn::Mul(hn::Set(d, a), v); },
      [](auto d, auto v) { return ExpComoLaBiblioteca(d, v); },
      [](auto d, auto v) {
        const auto m = hn::Abs(v);
        return hn::And(hn::Ge(m, hn::Set(d, 0x1p-54)), hn::Lt(m, hn::Set(d, 512.0)));
      },
      [](double t) { return std::fabs(t) >= 0x1p-54 && std::fabs(t) < 512.0; },
      [](double t) { return std::exp(t); });
}

// The natural logarithm as the GNU C library computes it on processors with fused
// multiply-adds (its FMA variant, the only one on such processors), for positive normal x:
// for x in [1 − 2^−4, 1 + 0x1.09p−4), a polynomial of r = x − 1 whose quadratic term is
// split so that its rounding error is kept; elsewhere the reduction of the table above,
// hi + lo = k·ln2 + ln c + r, plus a polynomial of r for ln(1 + r) − r. The constants and
// the polynomials' coefficients are that library's (from Arm's Optimized Routines, MIT
// licence); the multiply-adds are fused exactly where that variant fuses them.
template <class D, class V>
HWY_INLINE V LogComoLaBiblioteca(D d, V x) {
  const hn::RebindToUnsigned<D> du;
  const hn::RebindToSigned<D> di;
  const auto C = [d](std::uint64_t patron) { return hn::BitCast(d, hn::Set(hn::RebindToUnsigned<D>(), patron)); };
  const auto ix = hn::BitCast(du, x);
  // Table reduction.
  const auto tmp = hn::Sub(ix, hn::Set(du, 0x3fe6000000000000u));
  const auto indice = hn::BitCast(
      di, hn::ShiftLeft<1>(hn::And(hn::ShiftRight<45>(tmp), hn::Set(du, 127))));
  V invc, logc;
  LeerPares(d, kInversasYLogaritmos, indice, invc, logc);
  const V z = hn::BitCast(d, hn::Sub(ix, hn::And(tmp, hn::Set(du, 0xfff0000000000000u))));
  // k = tmp >> 52 (arithmetic), |k| < 2^11, as a double through the pattern of 2^52·1.5 + k.
  const auto k = hn::ShiftRight<52>(hn::BitCast(di, tmp));
  const V kDesplazamiento = hn::Set(d, 0x1.8p52);
  const V kd = hn::Sub(
      hn::BitCast(d, hn::Add(hn::BitCast(di, kDesplazamiento), k)), kDesplazamiento);
  const V w = hn::MulAdd(kd, C(0x3fe62e42fefa3800u), logc);  // k·ln2 (high part) + ln c
  const V r = hn::MulAdd(z, invc, hn::Set(d, -1.0));
  const V a12 = hn::MulAdd(r, C(0xbfcfffffffeb4590u), C(0x3fd555555551305bu));
  const V hi = hn::Add(r, w);
  const V r2 = hn::Mul(r, r);
  const V lo = hn::MulAdd(kd, C(0x3d2ef35793c76730u), hn::Add(hn::Sub(w, hi), r));
  const V r3 = hn::Mul(r, r2);
  const V a34 = hn::MulAdd(r, C(0xbfc55575e506c89fu), C(0x3fc999b324f10111u));
  const V y = hn::MulAdd(r3, hn::MulAdd(a34, r2, a12), hn::MulAdd(r2, C(0xbfe0000000000001u), lo));
  V resultado = hn::Add(y, hi);
  // Near 1.
  const auto cerca = hn::RebindMask(
      d, hn::Lt(hn::Sub(ix, hn::Set(du, 0x3fee000000000000u)), hn::Set(du, 0x0003090000000000u)));
  if (HWY_UNLIKELY(!hn::AllFalse(d, cerca))) {
    const V s = hn::Sub(x, hn::Set(d, 1.0));
    const V s2 = hn::Mul(s, s);
    const V s3 = hn::Mul(s, s2);
    const V b123 = hn::MulAdd(s2, C(0x3fc999999995dd0cu),
                              hn::MulAdd(s, C(0xbfcffffffffffdcbu), C(0x3fd5555555555577u)));
    const V b456 = hn::MulAdd(s2, C(0xbfbfffffa4423d65u),
                              hn::MulAdd(s, C(0x3fc24924a344de30u), C(0xbfc55555556745a7u)));
    V p = hn::MulAdd(s2, C(0x3fb78182f7afd085u),
                     hn::MulAdd(s, C(0xbfb999eb43b068ffu), C(0x3fbc7184282ad6cau)));
    p = hn::MulAdd(s3, C(0xbfb5521375d145cdu), p);
    p = hn::MulAdd(p, s3, b456);
    p = hn::MulAdd(p, s3, b123);
    // s split into a high part of 26 bits and the rest, so that s_alto² is exact.
    const V kDos27 = hn::Set(d, 0x1p27);
    const V alto = hn::NegMulAdd(kDos27, s, hn::MulAdd(s, kDos27, s));
    const V bajo = hn::Sub(s, alto);
    const V kMenosMedio = hn::Set(d, -0.5);
    const V alto2 = hn::Mul(alto, alto);
    const V hiCerca = hn::MulAdd(alto2, kMenosMedio, s);
    V loCerca = hn::MulAdd(alto2, kMenosMedio, hn::Sub(s, hiCerca));
    loCerca = hn::MulAdd(hn::Mul(kMenosMedio, bajo), hn::Add(s, alto), loCerca);
    V yCerca = hn::Add(hiCerca, hn::MulAdd(p, s3, loCerca));
    // ln 1 is +0.
    yCerca = hn::IfThenZeroElse(hn::Eq(x, hn::Set(d, 1.0)), yCerca);
    resultado = hn::IfThenElse(cerca, yCerca, resultado);
  }
  return resultado;
}

// y = ln x on vectors where the library's variant fuses multiply-adds as these do; on the
// other instruction sets that library's own variant computes otherwise, and std::log it is.
void Logaritmos(const double* x, double* y, std::size_t n) {
#if HWY_NATIVE_FMA
  Aplicar(
      x, y, n, [](auto, auto v) { return v; },
      [](auto d, auto v) { return LogComoLaBiblioteca(d, v); },
      [](auto d, auto v) {
        // Positive, normal and finite: 2^−1022 <= x < ∞.
        const hn::RebindToUnsigned<decltype(d)> du;
        return hn::RebindMask(d, hn::Lt(hn::Sub(hn::BitCast(du, v), hn::Set(du, 0x0010000000000000u)),
                                        hn::Set(du, 0x7fe0000000000000u)));
      },
      [](double t) { return t >= 0x1p-1022 && t <= 0x1.fffffffffffffp1023; },
      [](double t) { return std::log(t); });
#else
  for (std::size_t i = 0; i < n; ++i) y[i] = std::log(x[i]);
#endif
}

// pow(x, 2.0) as the C library gives it, where that is sure to be x·x: the library's pow is
// within 0.54 ulp of the exact square t, and t − x·x is exact as a fused multiply-add. When
// |t − x·x| < 0.44 ulp of x·x and x·x is not a power of two (whose lower neighbour is closer),
// every other double is more than 0.54 ulp from t, so pow gives x·x. The others (about one in
// eight), and squares that may underflow or overflow, go to pow itself.
template <class D, class V>
HWY_INLINE V CuadradoComoPow(D d, V x) {
  const hn::RebindToUnsigned<D> du;
  const V cuadrado = hn::Mul(x, x);
  const V resto = hn::MulSub(x, x, cuadrado);
  const auto bits = hn::BitCast(du, cuadrado);
  // 2^E for 2^E <= x·x < 2^(E + 1), whose ulp is 2^(E − 52).
  const V potencia = hn::BitCast(d, hn::And(bits, hn::Set(du, 0x7ff0000000000000u)));
  const auto seguro = hn::And(
      hn::And(hn::Lt(hn::Abs(resto), hn::Mul(potencia, hn::Set(d, 0.44 * 0x1p-52))),
              hn::RebindMask(d, hn::Ne(hn::And(bits, hn::Set(du, 0x000fffffffffffffu)),
                                       hn::Zero(du)))),
      hn::And(hn::Ge(cuadrado, hn::Set(d, 0x1p-900)), hn::Lt(cuadrado, hn::Set(d, 0x1p1000))));
  if (HWY_LIKELY(hn::AllTrue(d, seguro))) return cuadrado;
  const std::size_t N = hn::Lanes(d);
  HWY_ALIGN double arg[kCarrilesMaximos];
  HWY_ALIGN double res[kCarrilesMaximos];
  HWY_ALIGN double bueno[kCarrilesMaximos];
  hn::Store(x, d, arg);
  hn::Store(cuadrado, d, res);
  hn::Store(hn::VecFromMask(d, seguro), d, bueno);
  const double dos = exponenteDos;
  for (std::size_t i = 0; i < N; ++i)
    if (!std::bit_cast<std::uint64_t>(bueno[i])) res[i] = std::pow(arg[i], dos);
  return hn::Load(d, res);
}

// y = (pow(a, 2) + pow(b, 2)) / divisor.
void SumaDeCuadrados(const double* a, const double* b, double divisor, double* y,
                     std::size_t n) {
  std::size_t i = 0;
#if HWY_NATIVE_FMA
  const hn::ScalableTag<double> d;
  const std::size_t N = hn::Lanes(d);
  const auto vDivisor = hn::Set(d, divisor);
  for (; i + N <= n; i += N) {
    const auto va = CuadradoComoPow(d, hn::LoadU(d, a + i));
    const auto vb = CuadradoComoPow(d, hn::LoadU(d, b + i));
    hn::StoreU(hn::Div(hn::Add(va, vb), vDivisor), d, y + i);
  }
#endif
  const double dos = exponenteDos;
  for (; i < n; ++i) y[i] = (std::pow(a[i], dos) + std::pow(b[i], dos)) / divisor;
}

}  // namespace HWY_NAMESPACE
}  // namespace vectorial
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace vectorial {
HWY_EXPORT(ExpEscalada);
HWY_EXPORT(Logaritmos);
HWY_EXPORT(SumaDeCuadrados);
}  // namespace vectorial

void ExpEscalada(double a, const double* x, double* y, std::size_t n) {
  HWY_DYNAMIC_DISPATCH(vectorial::ExpEscalada)(a, x, y, n);
}

void Logaritmos(const double* x, double* y, std::size_t n) {
  HWY_DYNAMIC_DISPATCH(vectorial::Logaritmos)(x, y, n);
}

void SumaDeCuadrados(const double* a, const double* b, double divisor, double* y,
                     std::size_t n) {
  HWY_DYNAMIC_DISPATCH(vectorial::SumaDeCuadrados)(a, b, divisor, y, n);
}

#endif
