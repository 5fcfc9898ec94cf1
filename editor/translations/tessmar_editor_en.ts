<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CheckAnswer</name>
    <message numerus="yes">
        <source>Whether these %n pairs can clear the mission could not be decided within the time.</source>
        <translation>
            <numerusform>Whether this pair can clear the mission could not be decided within the time.</numerusform>
            <numerusform>Whether these %n pairs can clear the mission could not be decided within the time.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Whether these %n pairs can clear the mission could not be decided within the search.</source>
        <translation>
            <numerusform>Whether this pair can clear the mission could not be decided within the search.</numerusform>
            <numerusform>Whether these %n pairs can clear the mission could not be decided within the search.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>These %n pairs cannot clear the mission.</source>
        <translation>
            <numerusform>This pair cannot clear the mission.</numerusform>
            <numerusform>These %n pairs cannot clear the mission.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>These %n pairs can clear the mission.</source>
        <translation>
            <numerusform>This pair can clear the mission.</numerusform>
            <numerusform>These %n pairs can clear the mission.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>cleared with %n pairs</source>
        <translation>
            <numerusform>cleared with %n pair</numerusform>
            <numerusform>cleared with %n pairs</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Checking: %1 positions, %2 s</source>
        <translation>
            <numerusform>Checking: %1 position, %2 s</numerusform>
            <numerusform>Checking: %1 positions, %2 s</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MissionPanel</name>
    <message numerus="yes">
        <source>Erase %1 blocks</source>
        <translation>
            <numerusform>Erase %1 block</numerusform>
            <numerusform>Erase %1 blocks</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Erase %1 blocks at once</source>
        <translation>
            <numerusform>Erase %1 block at once</numerusform>
            <numerusform>Erase %1 blocks at once</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 has %n bytes, fewer than 294: the %n bytes were loaded into an empty mission.</source>
        <translation>
            <numerusform>%1 has %n byte, fewer than 294: that byte was loaded into an empty mission.</numerusform>
            <numerusform>%1 has %n bytes, fewer than 294: the %n bytes were loaded into an empty mission.</numerusform>
        </translation>
    </message>
</context>
</TS>
