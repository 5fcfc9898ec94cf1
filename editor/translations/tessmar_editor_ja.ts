<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>CheckAnswer</name>
    <message>
        <source>A mission of random blocks (goal type %1) cannot be checked.</source>
        <translation>ランダムなブロックのミッション（種類 %1）は調べられません。</translation>
    </message>
    <message>
        <source>Shortest: %1</source>
        <translation>最短: %1</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>不明</translation>
    </message>
    <message>
        <source>Ways to clear: at least %1</source>
        <translation>クリアの手順: 少なくとも %1 通り</translation>
    </message>
    <message>
        <source>Ways to clear: %1</source>
        <translation>クリアの手順: %1 通り</translation>
    </message>
    <message>
        <source>Difficulty: %1</source>
        <translation>難しさ: %1</translation>
    </message>
    <message>
        <source>Positions searched: %1</source>
        <translation>調べた局面: %1</translation>
    </message>
    <message numerus="yes">
        <source>Checking: %1 positions, %2 s</source>
        <translation>
            <numerusform>調べています: %1 局面、%2 秒</numerusform>
        </translation>
    </message>
    <message>
        <source>The mission has changed since the check began; this answer is for the mission as it was then.</source>
        <translation>調べ始めてからミッションが変わりました。この答えは調べ始めたときのミッションのものです。</translation>
    </message>
    <message numerus="yes">
        <source>Whether these %n pairs can clear the mission could not be decided within the time.</source>
        <translation>
            <numerusform>この %n 組のブロックでクリアできるかは、時間内には決まりませんでした。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Whether these %n pairs can clear the mission could not be decided within the search.</source>
        <translation>
            <numerusform>この %n 組のブロックでクリアできるかは、調べる範囲では決まりませんでした。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>These %n pairs cannot clear the mission.</source>
        <translation>
            <numerusform>この %n 組のブロックではクリアできません。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>These %n pairs can clear the mission.</source>
        <translation>
            <numerusform>この %n 組のブロックでクリアできます。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>cleared with %n pairs</source>
        <translation>
            <numerusform>%n 組でクリア</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DocumentHistory</name>
    <message>
        <source>Board Cell</source>
        <translation>盤面のマス</translation>
    </message>
    <message>
        <source>Next Block</source>
        <translation>Nextのブロック</translation>
    </message>
    <message>
        <source>Goal Type</source>
        <translation>ミッションの種類</translation>
    </message>
    <message>
        <source>Goal Number</source>
        <translation>ミッションの数</translation>
    </message>
    <message>
        <source>Pair Count</source>
        <translation>使う組の数</translation>
    </message>
</context>
<context>
    <name>Editor</name>
    <message>
        <source>Tessmar Mission Editor</source>
        <translation>Tessmar&#x3000;ミッションエディタ</translation>
    </message>
    <message>
        <source>Show the shortest way</source>
        <translation>最短手順を見る</translation>
    </message>
    <message>
        <source>Search longer</source>
        <translation>時間をかけて調べる</translation>
    </message>
    <message>
        <source>Mission files (*.msn)</source>
        <translation>ミッションファイル（*.msn）</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>復元</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Stop</source>
        <translation>中止</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>新規(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>開く(&amp;O)…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>名前を付けて保存(&amp;A)…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>元に戻す(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>やり直す(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Test Play</source>
        <translation>試しに遊ぶ(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Check Solvability</source>
        <translation>解けるか調べる(&amp;C)</translation>
    </message>
    <message>
        <source>Check &amp;Longer</source>
        <translation>時間をかけて調べる(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Mission</source>
        <translation>ミッション(&amp;M)</translation>
    </message>
    <message>
        <source>%1[*] - %2</source>
        <translation>%1[*] - %2</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>元に戻す(&amp;U): %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>やり直す(&amp;R): %1</translation>
    </message>
</context>
<context>
    <name>MissionPanel</name>
    <message>
        <source>Not a regular file (a pipe, a device or the like)</source>
        <translation>通常のファイルではありません（パイプ、デバイスなど）</translation>
    </message>
    <message>
        <source>NEW</source>
        <translation>NEW</translation>
    </message>
    <message>
        <source>SAVE...</source>
        <translation>SAVE...</translation>
    </message>
    <message>
        <source>LOAD...</source>
        <translation>LOAD...</translation>
    </message>
    <message>
        <source>Mission goal</source>
        <translation>ミッションの種類</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Chain of %1</source>
        <translation>%1 連鎖せよ</translation>
    </message>
    <message numerus="yes">
        <source>Erase %1 blocks</source>
        <translation>
            <numerusform>%1 ブロック消せ</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Erase %1 blocks at once</source>
        <translation>
            <numerusform>%1 ブロック同時に消せ</numerusform>
        </translation>
    </message>
    <message>
        <source>Erase all frame blocks</source>
        <translation>枠ブロックすべて消せ</translation>
    </message>
    <message>
        <source>All frame blocks at once</source>
        <translation>枠ブロックすべて同時に消せ</translation>
    </message>
    <message>
        <source>Loop of area %1</source>
        <translation>面積 %1 のループを作れ</translation>
    </message>
    <message>
        <source>A mission file cannot hold this goal: the digits above the last five give the goal type, which must not be above 255.</source>
        <translation>この数はミッションファイルに保存できません。下 5 桁より上の桁がミッションの種類になり、種類は 255 までです。</translation>
    </message>
    <message>
        <source>Above 100000 the high digits choose the goal: type %1, target %2.</source>
        <translation>100000 を超える数は上の桁でミッションの種類を選びます：種類 %1、目標 %2。</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>無題</translation>
    </message>
    <message>
        <source>Save the changes to %1?</source>
        <translation>%1 への変更を保存しますか？</translation>
    </message>
    <message>
        <source>The goal cannot be saved: %1 is beyond what a mission file holds (the digits above the last five give the goal type, at most 255).</source>
        <translation>ミッションを保存できません。%1 はミッションファイルに収まりません（下 5 桁より上の桁がミッションの種類で、255 までです）。</translation>
    </message>
    <message>
        <source>Fill both halves of every Next pair in use.</source>
        <translation>Nextはブロックを埋めてください。</translation>
    </message>
    <message>
        <source>Could not save.
%1
%2</source>
        <translation>保存できませんでした。
%1
%2</translation>
    </message>
    <message>
        <source>Saved %1.</source>
        <translation>%1 を保存しました。</translation>
    </message>
    <message>
        <source>Could not load.
%1
%2</source>
        <translation>読み込めませんでした。
%1
%2</translation>
    </message>
    <message>
        <source>%1 is empty (0 bytes): nothing was loaded.</source>
        <translation>%1 は空（0 バイト）のファイルです。何も読み込みませんでした。</translation>
    </message>
    <message>
        <source>%1 has %2 bytes, more than 294: its first 294 bytes were loaded.</source>
        <translation>%1 は %2 バイトで、294 バイトより長いファイルです。先頭の 294 バイトを読み込みました。</translation>
    </message>
    <message>
        <source>The game (tessmar) was not found.</source>
        <translation>ゲーム（tessmar）が見つかりません。</translation>
    </message>
    <message>
        <source>Could not start the game.</source>
        <translation>ゲームを起動できませんでした。</translation>
    </message>
    <message>
        <source>The solver (tessmar-solve) was not found.</source>
        <translation>ソルバー（tessmar-solve）が見つかりません。</translation>
    </message>
    <message>
        <source>Could not check.</source>
        <translation>調べられませんでした。</translation>
    </message>
    <message>
        <source>Could not check.
%1</source>
        <translation>調べられませんでした。
%1</translation>
    </message>
    <message>
        <source>Score %1</source>
        <translation>スコア %1</translation>
    </message>
    <message>
        <source>%1 fish</source>
        <translation>魚 %1 匹</translation>
    </message>
    <message numerus="yes">
        <source>%1 has %n bytes, fewer than 294: the %n bytes were loaded into an empty mission.</source>
        <translation>
            <numerusform>%1 は %n バイトで、294 バイトに足りません。その %n バイトを空のミッションに読み込みました。</numerusform>
        </translation>
    </message>
    <message>
        <source>The game knows no goal of type %1: it deals random pairs under an empty goal line, and the mission can only be lost (with target 0 it is cleared at once). Save it with goal type %1 all the same?</source>
        <translation>種類 %1 のミッションはゲームにありません。ブロックはランダムに出て、ミッションの表示は空になり、クリアできません（目標が 0 ならすぐにクリアになります）。それでも種類 %1 のまま保存しますか？</translation>
    </message>
    <message>
        <source>The editor ended with unsaved changes to %1. Restore them?</source>
        <translation>エディタは %1 の変更を保存しないまま終了しました。復元しますか？</translation>
    </message>
    <message>
        <source>Restored the unsaved changes to %1.</source>
        <translation>%1 の保存していなかった変更を復元しました。</translation>
    </message>
</context>
</TS>
