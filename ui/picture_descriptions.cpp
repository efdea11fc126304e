#include "ui/picture_descriptions.h"

#include <map>

namespace quillory {

namespace {

const std::map<std::string_view, PictureDescription, std::less<>>& table()
{
    static const std::map<std::string_view, PictureDescription, std::less<>> kTable{
        // Teachers.
        {"gal1.bmp",
         {"森岡　ハナ先生", "先生の絵：森岡　ハナ先生。５文型と仮定法を教える先生です。"}},
        {"gal2.bmp",
         {"辻　真弓先生",
          "先生の絵：辻　真弓先生。形容詞句・形容詞節・副詞句・副詞節の先生です。"}},
        {"gal3.bmp",
         {"浜田　和代先生", "先生の絵：浜田　和代先生。名詞句・名詞節・分詞構文の先生です。"}},
        // Blackboards.
        {"go.bmp",
         {"黒板：存在の be 動詞と go", "黒板：He is in this room. と I go to school. "
                                       "を並べ、主語・動詞・前置詞＋名詞を示した図。"}},
        {"see.bmp",
         {"黒板：look at と see",
          "黒板：I looked at her. と I saw her. を並べ、at の有無を比べた図。"}},
        {"adv.bmp",
         {"黒板：副詞",
          "黒板：副詞の一覧。home, yesterday, sometimes, there, here, before など。"}},
        {"OO.bmp",
         {"黒板：目的語が２つの文", "黒板：S V O O の例文。１つ目の O は人、２つ目の O は物。"}},
        {"OOV.bmp",
         {"黒板：目的語を２つとる動詞", "黒板：「（人）に（物）を～」の形をとる動詞の一覧。give, "
                                        "teach, show, buy, make, ask など。"}},
        {"bunkei.bmp",
         {"黒板：文型のまとめ", "黒板：第１文型から第４文型までの形と、それぞれをとる動詞。"}},
        {"who.bmp",
         {"黒板：「この絵を描いた少女」",
          "黒板：「この絵を描いた少女」を関係代名詞 who で英語にする３つの手順。"}},
        {"kandai.bmp",
         {"黒板：関係代名詞の格",
          "黒板：who（主格）、whose（所有格）、whom（目的格）の例と、節の中の主語と動詞。"}},
        {"Nara.bmp",
         {"黒板：Nara is the city which I live.",
          "黒板：誤りのある文 Nara is the city which I live. と、問われている which。"}},
        {"Nara2.bmp",
         {"黒板：Nara is the city which I live in.", "黒板：正しい文 Nara is the city which I live "
                                                     "in. 。加えた in が which を目的語にとる。"}},
        {"Nara3.bmp",
         {"黒板：正しくない文はどれ",
          "黒板：１から４までの番号つきの４つの文。このうち正しくない文を選ぶ問題。"}},
        {"inwh.bmp",
         {"黒板：前置詞＋関係代名詞",
          "黒板：Osaka is the city in which I was born. の in which が前置詞＋関係代名詞。"}},
        {"where.bmp",
         {"黒板：関係副詞 where",
          "黒板：in which の文の下に Osaka is the city where I was born. 。where は関係副詞。"}},
        {"kanfu.bmp",
         {"黒板：４つの関係副詞", "黒板：関係副詞 when, where, why, how と先行詞、例文の表。"}},
        {"tadou.bmp",
         {"黒板：他動詞の４つの種類",
          "黒板：to 不定詞と動名詞のどちらを目的語にとるかで分けた他動詞の４つのグループ。"}},
        {"fuku1.bmp",
         {"黒板：副詞の働き", "黒板：I saw him yesterday. と I saw him when I walked in the park. "
                              "。どちらも saw を修飾する。"}},
        {"fuku2.bmp",
         {"黒板：副詞節の作り方",
          "黒板：接続詞 when と文 I walked in the park. を合わせて副詞節を作る図。"}},
        {"setu1.bmp",
         {"黒板：時と条件の接続詞", "黒板：＜時＞と＜条件＞を表す接続詞と、その意味。"}},
        {"setu2.bmp",
         {"黒板：原因・理由と目的の接続詞",
          "黒板：＜原因・理由＞と＜目的＞を表す接続詞と、その意味。"}},
        {"setu3.bmp",
         {"黒板：譲歩と範囲の接続詞", "黒板：＜譲歩＞と＜範囲＞を表す接続詞と、その意味。"}},
        {"if.bmp",
         {"黒板：仮定法", "黒板：If he is honest, I will employ him. と If he were honest, I would "
                          "employ him. を比べた図。"}},
        {"bun0.bmp",
         {"まな板：本日の材料",
          "まな板の上の材料の文 When she saw me, she ran away. 。When は従属接続詞。"}},
        {"bun1.bmp",
         {"まな板：接続詞を切る", "When を切り落とし、she saw me, she ran away. が残った図。"}},
        {"bun2.bmp",
         {"まな板：主語を切る",
          "従属節の主語 she も切り落とし、saw me, she ran away. が残った図。"}},
        {"bun3.bmp",
         {"まな板：動詞を ～ing 形に",
          "saw を seeing にして、seeing me, she ran away. になった図。"}},
        {"bun4.bmp",
         {"黒板：分詞構文のレシピ", "黒板：「分詞構文」のレシピ。用意するものと３つの手順。"}},
        {"bun5.bmp", {"黒板：分詞構文の５つのポイント", "黒板：分詞構文で気をつける５つの点。"}},
        // Game scenes.
        {"roujin.bmp", {"老婆", "ゲームの場面：道の入り口で主人公の前に立つ、謎めいた老婆。"}},
        {"help.bmp",
         {"助けを求める少年", "ゲームの場面：道の上で「助けてくれ」と叫ぶ、田舎の小さな少年。"}},
        {"ane.bmp", {"姉の写真", "ゲームの場面：少年がかかげる、美しい若い女性の写真。"}},
        {"hashi.bmp", {"橋", "ゲームの場面：夕暮れの霧の中、暗い向こう岸へ続く川の橋。"}},
        {"chika.bmp",
         {"想像の世界", "ゲームの場面：ゆがんだ形と不思議な色の閉ざされた場所。奥に扉がある。"}},
        {"ane5.bmp", {"怪物の手下", "ゲームの場面：扉の向こうの部屋に立つ、召使いの服の若い女。"}},
        {"mizu0.bmp",
         {"閉じこめられた部屋",
          "ゲームの場面：出口のない部屋。床はまだ乾いていて、壁に穴がある。"}},
        {"mizu2.bmp",
         {"水の増える部屋", "ゲームの場面：閉じこめられた部屋の床に、水がたまり始めた。"}},
        {"mizu3.bmp", {"水の増える部屋", "ゲームの場面：部屋の水がひざの高さまで来た。"}},
        {"mizu4.bmp", {"水の増える部屋", "ゲームの場面：部屋の水が腰の高さまで来た。"}},
        {"mizu5.bmp", {"水の増える部屋", "ゲームの場面：部屋の水が胸の高さまで来た。"}},
        {"mizu6.bmp", {"水の増える部屋", "ゲームの場面：部屋の水が首の高さまで来た。"}},
        {"ane3.bmp",
         {"道案内の少女",
          "ゲームの場面：目を覚ました主人公をのぞきこむ少女。遠くの山の上に建物が見える。"}},
        {"ane4.bmp", {"門番", "ゲームの場面：山の上の建物の扉をふさぐ、武器を持った門番。"}},
        {"ane32.bmp", {"道案内の少女", "ゲームの場面：薄暗い広間で冷たくほほえむ、道案内の少女。"}},
        {"mon.bmp", {"怪物", "ゲームの場面：広間に現れた、怪物の本当の姿。"}},
        {"mon0.bmp", {"倒れた怪物", "ゲームの場面：広間で倒され、つぶれた怪物。"}},
        {"aaa.bmp",
         {"気を失った主人公の見るもの",
          "ゲームの場面：気を失った主人公の目に映る、ぼやけた暗がり。"}},
        {"over.bmp", {"ゲームオーバー", "ゲームオーバーの絵。"}},
    };
    return kTable;
}

} // namespace

PictureDescription describePicture(std::string_view file)
{
    const auto& known = table();
    const auto it = known.find(file);
    if (it != known.end())
        return it->second;
    return {"絵", "絵のファイル " + std::string(file)};
}

} // namespace quillory
